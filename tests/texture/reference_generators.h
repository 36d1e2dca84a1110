// Straightforward per-pixel versions of the cells, pong and sine generators,
// visiting pixels column by column and measuring every distance in full. The
// engine's faster versions must produce the same pixels bit for bit. Sizes
// must be at least 1.
#pragma once

#include "gfx/canvas.h"

void referenceCells(Pixel* pixels, int32_t count, int32_t size);
void referencePong(Pixel* pixels, int32_t size);
void referenceSine(Pixel* pixels, int32_t wavesX, int32_t wavesY);
