// Combiners: merge a source texture into a target texture of the same side
// and depth (see depth.h) pixel by pixel. Target and source may be the same
// array.
#pragma once

#include "texture/depth.h"
#include "texture/texture.h"

// Per channel min(t + s, MAX).
template <class P> void addTexture(P* target, const P* source, int32_t side);

// Per channel max(t - s, 0).
template <class P> void subtractTexture(P* target, const P* source, int32_t side);

// Per channel (b*t + (256-b)*s) >> 8, with the balance b clamped to 0..255.
template <class P> void mixTexture(P* target, const P* source, int32_t side, int32_t balance);

// The whole source pixel, the bits above the colour included.
template <class P> void copyTexture(P* target, const P* source, int32_t side);

// Per channel max(t, s).
template <class P> void maxTexture(P* target, const P* source, int32_t side);
