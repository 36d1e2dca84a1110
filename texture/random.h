// The tool's only random-number generator. It starts from a fixed seed, so
// the start-up textures are the same on every run.
#pragma once

#include <cstdint>

// Process-wide seed; 1 at program start, changed only by randomNumber.
extern uint32_t randomSeed;

// Advances the seed once and returns a value in 0 .. n-1; returns 0 without
// advancing when n is 0.
uint32_t randomNumber(uint32_t n);
