// Reproducible noise for texture tests: every bit of every pixel is random,
// the top byte included, so operations that must clear or keep it are caught.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/canvas.h"

namespace testsupport {

// Small xorshift generator; the same seed gives the same sequence.
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed)
        : state(seed ? seed : 1)
    {
    }
    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // A value in low..high inclusive; the range must hold fewer than 2^32 values.
    int32_t between(int32_t low, int32_t high)
    {
        return (int32_t)((int64_t)low + (int64_t)(next() % (uint32_t)((int64_t)high - low + 1)));
    }
};

// A texture of `side` x `side` random pixels.
inline std::vector<Pixel> randomTexture(uint32_t seed, int32_t side = 256)
{
    Noise noise(seed);
    std::vector<Pixel> pixels((size_t)side * side);
    for (Pixel& pixel : pixels)
        pixel = noise.next();
    return pixels;
}

} // namespace testsupport
