// Straightforward per-pixel versions of the generators on a texture of any
// side N = k x 256, following the rules the way they are written: pixels
// visited column by column, every distance measured in full, the plasma
// subdivided depth first with every midpoint tested. The engine's faster
// versions must produce the same pixels bit for bit. Sizes must be at least 1.
#pragma once

#include "gfx/canvas.h"

void referenceCells(Pixel* pixels, int32_t side, int32_t count, int32_t size);
void referencePong(Pixel* pixels, int32_t side, int32_t size);
void referenceSine(Pixel* pixels, int32_t side, int32_t wavesX, int32_t wavesY);
// The array must be empty; the variation at least 1.
void referencePlasma(Pixel* pixels, int32_t side, int32_t variation);
