#include "VelkinUI/Spring.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace tessaron {

Spring Spring::withDuration(double duration, double bounce)
{
    const double b = std::clamp(bounce, -1.0, 0.99);
    const double damping = b >= 0 ? 1.0 - b : 1.0 / (1.0 + b);
    return Spring{std::max(duration, 0.001), damping, 0.0};
}

double Spring::value(double t) const
{
    if (t <= 0)
        return 0.0;
    const double w0 = 2.0 * std::numbers::pi / std::max(response, 0.001);
    const double z = std::max(dampingFraction, 0.0);
    if (z < 1.0) {
        const double wd = w0 * std::sqrt(1.0 - z * z);
        return 1.0 - std::exp(-z * w0 * t) * (std::cos(wd * t) + (z * w0 / wd) * std::sin(wd * t));
    }
    if (z == 1.0)
        return 1.0 - std::exp(-w0 * t) * (1.0 + w0 * t);
    const double root = std::sqrt(z * z - 1.0);
    const double r1 = -w0 * (z - root);
    const double r2 = -w0 * (z + root);
    return 1.0 + (r2 * std::exp(r1 * t) - r1 * std::exp(r2 * t)) / (r1 - r2);
}

double Spring::settlingDuration() const
{
    // Ten thousand steps of the response per call, and every animated view asks for the few
    // springs of the kit as it is built: each answer is remembered (per thread, no locking).
    thread_local std::vector<std::pair<std::pair<double, double>, double>> known;
    const std::pair<double, double> key{response, dampingFraction};
    for (const auto& [spring, duration] : known) {
        if (spring == key)
            return duration;
    }
    constexpr double epsilon = 0.001;
    constexpr double step = 0.001;
    double last = 0.0;
    for (double t = 0.0; t < 10.0; t += step) {
        if (std::abs(1.0 - value(t)) > epsilon)
            last = t + step;
    }
    const double duration = std::max(last, step);
    if (known.size() < 64)
        known.emplace_back(key, duration);
    return duration;
}

} // namespace tessaron
