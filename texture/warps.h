// Warps: rearrange the pixels of a texture of side `side` in place, wrapping
// around the edges. Each works into a scratch texture and copies it back:
// `scratch`, a texture of the same side that the caller keeps for them, or
// when it is null one of the warp's own. If that cannot be had the warp
// returns false and leaves the texture as it was.
#pragma once

#include "texture/texture.h"

// Bilinear sample at a real position, wrapping around the edges; each channel
// is truncated, not rounded. The result's top byte is 0.
Pixel sampleBilinear(const Pixel* pixels, int32_t side, double x, double y);

// Displaces each pixel horizontally by a sine of its row and vertically by a
// sine of its column; the sizes are in 256ths of the side.
bool deformTexture(Pixel* pixels, int32_t side, int32_t wavesX, int32_t sizeX, int32_t wavesY,
    int32_t sizeY, Pixel* scratch = nullptr);

// Swirls the disc of radius side / 2 around the centre (side / 2, side / 2).
bool twirlTexture(Pixel* pixels, int32_t side, int32_t direction, Pixel* scratch = nullptr);

// Shifts the texture right by dx and down by dy 256ths of the side, wrapping
// around the edges. It needs no scratch texture and always returns true.
bool moveTexture(Pixel* pixels, int32_t side, int32_t dx, int32_t dy, Pixel* scratch = nullptr);
