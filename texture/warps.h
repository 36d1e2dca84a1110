// Warps: rearrange the pixels of a texture in place, wrapping around the edges.
#pragma once

#include "gfx/canvas.h"

// Bilinear sample at a real position, wrapping around the edges; each channel
// is truncated, not rounded. The result's top byte is 0.
Pixel sampleBilinear(const Pixel* pixels, double x, double y);

// Displaces each pixel horizontally by a sine of its row and vertically by a
// sine of its column.
void deformTexture(Pixel* pixels, int32_t wavesX, int32_t sizeX, int32_t wavesY, int32_t sizeY);

// Swirls the disc of radius 128 around the centre (128, 128).
void twirlTexture(Pixel* pixels, int32_t direction);

// Shifts the texture right by dx and down by dy, wrapping around the edges.
void moveTexture(Pixel* pixels, int32_t dx, int32_t dy);
