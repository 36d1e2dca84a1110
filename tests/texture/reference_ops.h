// Straightforward per-pixel versions of the warps, the colour operations and
// the channel combiners on a texture of any side N = k x 256 and either depth
// (8 bits per channel in a Pixel, 16 in a DeepPixel), written the slow,
// obvious way: column by column, the twirl's every pixel with its own
// trigonometry and the deform's offsets, which depend on the row or the
// column alone, once per row and column, lengths scaled by k, channels taken
// apart and put together again from the pixel's width. The engine's versions
// must match them bit for bit.
#pragma once

#include "reference_depth.h"

namespace reference {

template <class P> P sampleBilinear(const P* pixels, int32_t side, double x, double y);
template <class P>
void deformTexture(
    P* pixels, int32_t side, int32_t wavesX, int32_t sizeX, int32_t wavesY, int32_t sizeY);
template <class P> void twirlTexture(P* pixels, int32_t side, int32_t direction);
template <class P> void moveTexture(P* pixels, int32_t side, int32_t dx, int32_t dy);

template <class P>
void colorizeTexture(P* pixels, int32_t side, int32_t red1, int32_t green1, int32_t blue1,
    int32_t red2, int32_t green2, int32_t blue2);
template <class P> void invertTexture(P* pixels, int32_t side);
template <class P>
void clearTexture(P* pixels, int32_t side, int32_t red, int32_t green, int32_t blue);

template <class P> void addTexture(P* target, const P* source, int32_t side);
template <class P> void subtractTexture(P* target, const P* source, int32_t side);
template <class P> void mixTexture(P* target, const P* source, int32_t side, int32_t balance);
template <class P> void maxTexture(P* target, const P* source, int32_t side);

} // namespace reference
