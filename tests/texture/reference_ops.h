// Straightforward per-pixel versions of the warps, the ramp and the channel
// combiners on a texture of any side N = k x 256, written the slow, obvious
// way: column by column, every pixel with its own trigonometry, lengths
// scaled by k. The engine's versions must match them bit for bit.
#pragma once

#include "gfx/canvas.h"

namespace reference {

Pixel sampleBilinear(const Pixel* pixels, int32_t side, double x, double y);
void deformTexture(
    Pixel* pixels, int32_t side, int32_t wavesX, int32_t sizeX, int32_t wavesY, int32_t sizeY);
void twirlTexture(Pixel* pixels, int32_t side, int32_t direction);
void moveTexture(Pixel* pixels, int32_t side, int32_t dx, int32_t dy);

void colorizeTexture(Pixel* pixels, int32_t side, int32_t red1, int32_t green1, int32_t blue1,
    int32_t red2, int32_t green2, int32_t blue2);

void addTexture(Pixel* target, const Pixel* source, int32_t side);
void subtractTexture(Pixel* target, const Pixel* source, int32_t side);
void mixTexture(Pixel* target, const Pixel* source, int32_t side, int32_t balance);
void maxTexture(Pixel* target, const Pixel* source, int32_t side);

} // namespace reference
