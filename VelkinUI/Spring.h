#pragma once

namespace tessaron {

// A damped spring, described by period and damping rather than stiffness: `response` is the period of the
// undamped oscillation in seconds, `dampingFraction` 1 is critically damped, below 1 overshoots.
struct Spring {
    double response = 0.5;
    double dampingFraction = 0.825;
    double blendDuration = 0.0;

    // The spring given by its perceived duration and bounce (0 = no overshoot, up to 1).
    static Spring withDuration(double duration, double bounce);

    // Step response: 0 at t = 0, settles at 1; overshoots above 1 when underdamped.
    double value(double seconds) const;
    // Seconds until the motion stays within 0.1 % of its target.
    double settlingDuration() const;

    friend bool operator==(const Spring&, const Spring&) = default;
};

} // namespace tessaron
