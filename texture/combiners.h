// Combiners: merge a source texture into a target texture of the same side
// pixel by pixel. Target and source may be the same array.
#pragma once

#include "texture/texture.h"

// Per channel min(t + s, 255).
void addTexture(Pixel* target, const Pixel* source, int32_t side);

// Per channel max(t - s, 0).
void subtractTexture(Pixel* target, const Pixel* source, int32_t side);

// Per channel (b*t + (256-b)*s) >> 8, with the balance b clamped to 0..255.
void mixTexture(Pixel* target, const Pixel* source, int32_t side, int32_t balance);

// The whole source pixel, top byte included.
void copyTexture(Pixel* target, const Pixel* source, int32_t side);

// Per channel max(t, s).
void maxTexture(Pixel* target, const Pixel* source, int32_t side);
