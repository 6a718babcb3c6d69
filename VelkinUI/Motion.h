#pragma once

#include "VelkinUI/Spring.h"

namespace tessaron {

// How a change moves: not at all, along a timing curve, or on a spring; optionally after a delay.
struct Motion {
    enum class Kind { none, linear, easeOut, easeInOut, spring };

    Kind kind = Kind::none;
    double duration = 0.0; // seconds, for the timing curves
    Spring spring;
    double delay = 0.0; // seconds before the motion starts

    static Motion none() { return Motion{}; }
    static Motion linear(double seconds) { return Motion{Kind::linear, seconds, {}, 0.0}; }
    static Motion easeOut(double seconds) { return Motion{Kind::easeOut, seconds, {}, 0.0}; }
    static Motion easeInOut(double seconds) { return Motion{Kind::easeInOut, seconds, {}, 0.0}; }
    static Motion withSpring(const Spring& s) { return Motion{Kind::spring, 0.0, s, 0.0}; }
    Motion delayed(double seconds) const
    {
        Motion m = *this;
        m.delay = seconds;
        return m;
    }

    bool isNone() const { return kind == Kind::none; }
    // Seconds from start to rest, the delay included.
    double totalDuration() const;
    // Fraction of the way at `seconds` after start (delay included); 0 before, exactly 1 at the end;
    // a spring may overshoot in between.
    double progress(double seconds) const;

    friend bool operator==(const Motion&, const Motion&) = default;
};

} // namespace tessaron
