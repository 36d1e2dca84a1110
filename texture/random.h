// The tool's only random-number generator. It starts from a fixed seed, so
// the start-up textures are the same on every run.
#pragma once

#include <cstdint>

// Process-wide seed; 1 at program start, changed only by randomNumber.
extern uint32_t randomSeed;

// Advances the seed once and returns a value in 0 .. n-1; returns 0 without
// advancing when n is 0.
uint32_t randomNumber(uint32_t n);

// Advances the seed as `count` calls of randomNumber with n > 0 would,
// whatever their n: what a step whose result is not needed still draws.
// However large `count`, takes about as long as some tens of thousands of
// calls at most, as the sequence soon repeats itself.
void skipRandomNumbers(uint64_t count);

// The seed that `count` calls of randomNumber with n > 0 leave, started
// from `seed`, as skipRandomNumbers works it out; draws nothing.
uint32_t seedAfterSkipping(uint32_t seed, uint64_t count);

// The SplitMix64 finaliser: 64 well-mixed bits from any 64-bit value. The
// plasma's finest squares take their offsets from it instead of from the
// generator, so that they need no order and draw nothing.
inline uint64_t mix64(uint64_t value)
{
    uint64_t z = value + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
