// Colour operations: recolour one texture of side `side` in place.
#pragma once

#include "texture/texture.h"

// Maps each pixel's blue channel onto the ramp from colour 1 (blue 0)
// towards colour 2 (blue 255).
void colorizeTexture(Pixel* pixels, int32_t side, int32_t red1, int32_t green1, int32_t blue1,
    int32_t red2, int32_t green2, int32_t blue2);

// Inverts the three colour channels; the top byte stays.
void invertTexture(Pixel* pixels, int32_t side);

// Fills every pixel with one colour.
void clearTexture(Pixel* pixels, int32_t side, int32_t red, int32_t green, int32_t blue);
