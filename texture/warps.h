// Warps: rearrange the pixels of a texture of side `side`, at either depth
// (see depth.h), in place, wrapping around the edges. Each works into a
// scratch texture and copies it back: `scratch`, a texture of the same side
// and depth that the caller keeps for them, or when it is null one of the
// warp's own. If that cannot be had the warp returns false and leaves the
// texture as it was.
#pragma once

#include "texture/depth.h"
#include "texture/texture.h"

// Bilinear sample at a real position, wrapping around the edges; each channel
// is truncated, not rounded. The bits above the colour are 0.
template <class P> P sampleBilinear(const P* pixels, int32_t side, double x, double y);

// Displaces each pixel horizontally by a sine of its row and vertically by a
// sine of its column; the sizes are in 256ths of the side.
template <class P>
bool deformTexture(P* pixels, int32_t side, int32_t wavesX, int32_t sizeX, int32_t wavesY,
    int32_t sizeY, P* scratch = nullptr);

// Swirls the disc of radius side / 2 around the centre (side / 2, side / 2).
template <class P>
bool twirlTexture(P* pixels, int32_t side, int32_t direction, P* scratch = nullptr);

// Shifts the texture right by dx and down by dy 256ths of the side, wrapping
// around the edges. It needs no scratch texture and always returns true.
template <class P>
bool moveTexture(P* pixels, int32_t side, int32_t dx, int32_t dy, P* scratch = nullptr);
