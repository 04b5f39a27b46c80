// The process's one pseudo-random generator, reseeded from the clock before each
// save so that saves within the same millisecond still draw different numbers.
#pragma once

#include <cstdint>

// Milliseconds since boot from the monotonic clock, wrapping at 2^32.
std::uint32_t TickCount();

// seed = tick count + accumulator; the accumulator then grows by (seed & 0xFF) + 100.
void ReseedRandom();
// The same with a given tick count, for tests.
void ReseedRandomAt(std::uint32_t tickCount);

// A number from lo to hi, both included; every number of the range can come up.
std::int32_t RandomBetween(std::int32_t lo, std::int32_t hi);

// The seed that the last reseed used, for tests.
std::uint32_t LastSeed();
