#include "samplegen/SampleRandom.h"

#include <cmath>
#include <numbers>

TSampleRandom::TSampleRandom(std::uint64_t seed)
    : state(seed)
{
}

// SplitMix64.
std::uint64_t TSampleRandom::Next()
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double TSampleRandom::Uniform()
{
    return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double TSampleRandom::Uniform(double low, double high)
{
    return low + (high - low) * Uniform();
}

int TSampleRandom::Between(int low, int high)
{
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<int>(Next() % span);
}

bool TSampleRandom::Chance(double probability)
{
    return Uniform() < probability;
}

double TSampleRandom::Normal()
{
    // Box-Muller; 1 − u keeps the logarithm away from zero.
    const double u = 1.0 - Uniform();
    const double v = Uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
}

std::uint64_t MixSeed(std::uint64_t seed, std::uint64_t label)
{
    TSampleRandom mixer(seed ^ (label * 0xD6E8FEB86659FD93ULL));
    return mixer.Next();
}
