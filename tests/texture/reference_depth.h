// The depth of a pixel type as the plain references name it, worked out from
// the pixel's width alone: BITS per channel, MAX the largest level, U = MAX /
// 255, blue in the lowest BITS bits, then green, then red, and the bits
// above the colour holding none.
#pragma once

#include <cstdint>

#include "gfx/canvas.h"
#include "texture/depth.h"

template <class P> struct ReferenceDepth {
    static constexpr int BITS = sizeof(P) == 4 ? 8 : 16;
    static constexpr int64_t MAX = ((int64_t)1 << BITS) - 1;
    static constexpr int64_t U = MAX / 255;
    // Channel 0 blue, 1 green, 2 red.
    static int64_t channel(P pixel, int index)
    {
        return (int64_t)((pixel >> (BITS * index)) & MAX);
    }
    // Three levels 0..MAX side by side, nothing above them.
    static P compose(int64_t red, int64_t green, int64_t blue)
    {
        return (P)(((uint64_t)red << (2 * BITS)) | ((uint64_t)green << BITS) | (uint64_t)blue);
    }
    static P grey(int64_t level) { return compose(level, level, level); }
    static P colorBits() { return (P)(((uint64_t)1 << (3 * BITS)) - 1); }
    static P empty() { return (P)((P)1 << (8 * sizeof(P) - 1)); }
};
