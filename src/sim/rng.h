#pragma once
// A small seeded generator (splitmix64). The standard distributions differ
// between library versions, so a seed would not replay the same run
// everywhere; this one gives the same numbers on every build.

#include <cstdint>

namespace qv::sim {

class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // 0 .. n-1; n must be positive. The modulo bias is far below anything a
    // simulated panel press could show.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

    // [0, 1)
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

    bool chance(double probability) { return unit() < probability; }

private:
    std::uint64_t m_state;
};

}  // namespace qv::sim
