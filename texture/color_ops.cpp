#include "texture/color_ops.h"

#include "texture/parallel.h"
#include "texture/texture.h"

namespace {

// Composes a colour by adding the shifted channels. The arithmetic is
// unsigned, so channels outside 0..255 (the panel never gives them) wrap
// modulo 2^32 instead of overflowing.
Pixel addParts(int64_t red, int64_t green, int64_t blue)
{
    return ((uint32_t)red << 16) + ((uint32_t)green << 8) + (uint32_t)blue;
}

// One channel of the ramp, with weight w of colour 1 and k of colour 2 in
// 256ths. 64-bit products keep any component free of overflow.
int64_t rampChannel(int32_t c1, int32_t c2, int32_t w, int32_t k)
{
    return ((int64_t)c1 * w + (int64_t)c2 * k) >> 8;
}

// Runs `change(first, end)` over runs of whole rows that together cover
// the texture; each pixel's result depends on that pixel alone.
template <class Change> void forEachRun(Pixel* pixels, int32_t side, const Change& change)
{
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        change(pixels + (size_t)begin * side, pixels + (size_t)end * side);
    });
}

} // namespace

void colorizeTexture(Pixel* pixels, int32_t side, int32_t red1, int32_t green1, int32_t blue1,
    int32_t red2, int32_t green2, int32_t blue2)
{
    // The result depends only on the blue channel: one colour per level.
    Pixel ramp[256];
    for (int32_t k = 0; k < 256; ++k) {
        int32_t w = 256 - k;
        ramp[k] = addParts(rampChannel(red1, red2, w, k), rampChannel(green1, green2, w, k),
            rampChannel(blue1, blue2, w, k));
    }
    forEachRun(pixels, side, [&](Pixel* pixel, const Pixel* end) {
        for (; pixel < end; ++pixel)
            *pixel = ramp[*pixel & 255];
    });
}

void invertTexture(Pixel* pixels, int32_t side)
{
    forEachRun(pixels, side, [](Pixel* pixel, const Pixel* end) {
        for (; pixel < end; ++pixel)
            *pixel ^= 0xFFFFFF;
    });
}

void clearTexture(Pixel* pixels, int32_t side, int32_t red, int32_t green, int32_t blue)
{
    Pixel color = addParts(red, green, blue);
    forEachRun(pixels, side, [color](Pixel* pixel, const Pixel* end) {
        for (; pixel < end; ++pixel)
            *pixel = color;
    });
}
