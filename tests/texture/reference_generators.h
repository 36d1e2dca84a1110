// Straightforward per-pixel versions of the generators on a texture of any
// side N = k x 256 and either depth, following the rules the way they are
// written: pixels visited column by column, every distance measured in full,
// the plasma's coarse squares subdivided depth first with every midpoint
// tested and its fine levels filled pixel by pixel. The engine's faster
// versions must produce the same pixels bit for bit. Sizes must be at least 1.
#pragma once

#include "gfx/canvas.h"

// The depth of a pixel type as the rules name it: MAX the largest level, U
// = MAX / 255, and a level L stored as L in each of the three channels.
template <class P> struct ReferenceDepth {
    static constexpr int BITS = sizeof(P) == 4 ? 8 : 16;
    static constexpr int64_t MAX = ((int64_t)1 << BITS) - 1;
    static constexpr int64_t U = MAX / 255;
    static P grey(int64_t level) { return (P)((level << (2 * BITS)) | (level << BITS) | level); }
    static P empty() { return (P)((P)1 << (8 * sizeof(P) - 1)); }
};

template <class P> void referenceCells(P* pixels, int32_t side, int32_t count, int32_t size);
template <class P> void referencePong(P* pixels, int32_t side, int32_t size);
template <class P> void referenceSine(P* pixels, int32_t side, int32_t wavesX, int32_t wavesY);
// The array must be empty; the variation at least 1.
template <class P> void referencePlasma(P* pixels, int32_t side, int32_t variation);
