#include "commands/random_number.h"

#include <time.h>

#include <random>

namespace {

std::uint32_t reseedAccumulator = 0;
std::uint32_t lastSeed = 0;
std::mt19937 generator;

}  // namespace

std::uint32_t TickCount()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000 + static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
    return static_cast<std::uint32_t>(milliseconds);
}

void ReseedRandomAt(std::uint32_t tickCount)
{
    const std::uint32_t seed = tickCount + reseedAccumulator;
    reseedAccumulator += (seed & 0xFF) + 100;
    lastSeed = seed;
    generator.seed(seed);
}

void ReseedRandom()
{
    ReseedRandomAt(TickCount());
}

std::int32_t RandomBetween(std::int32_t lo, std::int32_t hi)
{
    if (hi < lo) return lo;
    const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo) + 1;
    // Two 32-bit draws make a 64-bit value, far wider than any span, so the
    // remainder reaches every number of the range.
    const std::uint64_t draw = (static_cast<std::uint64_t>(generator()) << 32) | generator();
    return static_cast<std::int32_t>(lo + static_cast<std::int64_t>(draw % span));
}

std::uint32_t LastSeed()
{
    return lastSeed;
}
