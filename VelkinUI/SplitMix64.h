#pragma once

#include <cstdint>

namespace tessaron {

// The published SplitMix64 generator; its fixed seed makes the grain identical on every draw.
class SplitMix64 {
public:
    static constexpr uint64_t gamma = 0x9E3779B97F4A7C15ULL;

    explicit SplitMix64(uint64_t seed = gamma)
        : m_state(seed)
    { }

    uint64_t next()
    {
        m_state += gamma;
        uint64_t z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double nextUnit() { return double(next() >> 11) * 0x1.0p-53; }

private:
    uint64_t m_state;
};

} // namespace tessaron
