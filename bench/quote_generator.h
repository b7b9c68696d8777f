#pragma once

#include <cstdint>
#include <vector>

#include "db/quote_item.h"

// splitmix64: the same numbers in every build, unlike the standard
// distributions, whose results are left to the library.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t next()
    {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t below(uint32_t n) { return static_cast<uint32_t>(next() % n); }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }

private:
    uint64_t m_state;
};

// n quotes numbered 0 .. n-1, the same for a given seed in every build:
// 40 to 600 bytes of English-like text (short ones the most common, about
// one in twelve set as CR LF lines with an attribution) and a one-word
// category.
std::vector<QuoteEntry> make_quotes(uint32_t n, uint64_t seed);
