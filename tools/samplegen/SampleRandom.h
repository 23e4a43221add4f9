#pragma once
// A small random source whose sequence depends only on the seed, on every platform
// and library (the standard distributions do not promise that).

#include <cstdint>

class TSampleRandom {
public:
    explicit TSampleRandom(std::uint64_t seed);

    std::uint64_t Next();
    // Uniform in [0, 1).
    double Uniform();
    double Uniform(double low, double high);
    // Uniform in low … high, both included.
    int Between(int low, int high);
    bool Chance(double probability);
    // Standard normal.
    double Normal();

private:
    std::uint64_t state;
};

// A seed for a separate stream, derived from a seed and a label.
std::uint64_t MixSeed(std::uint64_t seed, std::uint64_t label);
