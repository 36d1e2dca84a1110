// Colour operations: recolour one texture of side `side` in place, at
// either depth (see depth.h). Colours are given as components 0..255 and
// count as component x UNIT at the texture's depth.
#pragma once

#include "texture/depth.h"
#include "texture/texture.h"

// Maps each pixel's blue channel onto the ramp from colour 1 (blue 0)
// towards colour 2 (blue MAX).
template <class P>
void colorizeTexture(P* pixels, int32_t side, int32_t red1, int32_t green1, int32_t blue1,
    int32_t red2, int32_t green2, int32_t blue2);

// Inverts the three colour channels; the bits above them stay.
template <class P> void invertTexture(P* pixels, int32_t side);

// Fills every pixel with one colour.
template <class P>
void clearTexture(P* pixels, int32_t side, int32_t red, int32_t green, int32_t blue);
