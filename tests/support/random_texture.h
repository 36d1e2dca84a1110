// Reproducible noise for texture tests: every bit of every pixel is random,
// the bits above the colour included, so operations that must clear or keep
// them are caught.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/canvas.h"
#include "texture/depth.h"

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

// A texture of `side` x `side` random pixels: Pixels by default, or
// DeepPixels (see texture/depth.h) with every one of their 64 bits random.
template <class P = Pixel> std::vector<P> randomTexture(uint32_t seed, int32_t side = 256)
{
    Noise noise(seed);
    std::vector<P> pixels((size_t)side * side);
    for (P& pixel : pixels) {
        pixel = (P)noise.next();
        if constexpr (sizeof(P) > 4)
            pixel = (P)(((uint64_t)pixel << 32) | noise.next());
    }
    return pixels;
}

} // namespace testsupport
