// Straightforward per-pixel versions of the generators on a texture of any
// side N = k x 256 and either depth, following the rules the way they are
// written: pixels visited column by column, every distance measured in full,
// the sine's terms, which depend on one coordinate each, once per column and row,
// the plasma's coarse squares subdivided depth first with every midpoint
// tested and its fine levels filled pixel by pixel. The engine's faster
// versions must produce the same pixels bit for bit. Sizes must be at least 1.
#pragma once

#include "reference_depth.h"

template <class P> void referenceCells(P* pixels, int32_t side, int32_t count, int32_t size);
template <class P> void referencePong(P* pixels, int32_t side, int32_t size);
template <class P> void referenceSine(P* pixels, int32_t side, int32_t wavesX, int32_t wavesY);
// The array must be empty; the variation at least 1.
template <class P> void referencePlasma(P* pixels, int32_t side, int32_t variation);
