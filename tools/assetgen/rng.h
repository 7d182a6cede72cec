#ifndef RNG_H
#define RNG_H

#include <cstdint>

// A small xorshift64* generator. Every random choice of the asset generator
// goes through one of these with a fixed seed, so the output never depends on
// the C library's rand() or on the time of day.
class Rng
{
public:
    explicit Rng(uint64_t seed) : m_state(seed ? seed : 0x9E3779B97F4A7C15ull) {}

    uint64_t next()
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return m_state * 0x2545F4914F6CDD1Dull;
    }
    // Uniform in [0, 1).
    double uniform() { return (next() >> 11) * (1.0 / 9007199254740992.0); }
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Uniform integer in [lo, hi].
    int range(int lo, int hi) { return lo + int(next() % uint64_t(hi - lo + 1)); }
    // Uniform in [-1, 1): white noise for the synthesiser.
    float bipolar() { return float(uniform() * 2.0 - 1.0); }

private:
    uint64_t m_state;
};

#endif
