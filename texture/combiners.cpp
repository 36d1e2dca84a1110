#include "texture/combiners.h"

#include <cstring>

#include "texture/texture.h"

// Every result depends only on the two pixels at the same place, so each
// combiner walks the arrays in memory order, and reading a pixel before
// writing it makes target == source work in place.

namespace {

inline uint32_t channel(Pixel pixel, uint32_t shift)
{
    return (pixel >> shift) & 255;
}

inline uint32_t capped(uint32_t t, uint32_t s)
{
    uint32_t sum = t + s;
    return sum > 255 ? 255 : sum;
}

inline uint32_t floored(uint32_t t, uint32_t s)
{
    return t > s ? t - s : 0;
}

inline uint32_t larger(uint32_t t, uint32_t s)
{
    return t > s ? t : s;
}

} // namespace

void addTexture(Pixel* target, const Pixel* source)
{
    for (Pixel *out = target, *end = target + TEXTURE_PIXEL_COUNT; out < end; ++out, ++source) {
        Pixel t = *out, s = *source;
        *out = composeColor(capped(channel(t, 16), channel(s, 16)),
            capped(channel(t, 8), channel(s, 8)), capped(channel(t, 0), channel(s, 0)));
    }
}

void subtractTexture(Pixel* target, const Pixel* source)
{
    for (Pixel *out = target, *end = target + TEXTURE_PIXEL_COUNT; out < end; ++out, ++source) {
        Pixel t = *out, s = *source;
        *out = composeColor(floored(channel(t, 16), channel(s, 16)),
            floored(channel(t, 8), channel(s, 8)), floored(channel(t, 0), channel(s, 0)));
    }
}

void mixTexture(Pixel* target, const Pixel* source, int32_t balance)
{
    // The stepper's top value 256 acts as 255, so no balance keeps the target whole.
    uint32_t b = balance < 0 ? 0 : balance > 255 ? 255 : (uint32_t)balance;
    uint32_t rest = 256 - b;
    for (Pixel *out = target, *end = target + TEXTURE_PIXEL_COUNT; out < end; ++out, ++source) {
        Pixel t = *out, s = *source;
        *out = composeColor((b * channel(t, 16) + rest * channel(s, 16)) >> 8,
            (b * channel(t, 8) + rest * channel(s, 8)) >> 8,
            (b * channel(t, 0) + rest * channel(s, 0)) >> 8);
    }
}

void copyTexture(Pixel* target, const Pixel* source)
{
    // memmove: the two arrays may be one and the same.
    memmove(target, source, TEXTURE_PIXEL_COUNT * sizeof(Pixel));
}

void maxTexture(Pixel* target, const Pixel* source)
{
    for (Pixel *out = target, *end = target + TEXTURE_PIXEL_COUNT; out < end; ++out, ++source) {
        Pixel t = *out, s = *source;
        *out = composeColor(larger(channel(t, 16), channel(s, 16)),
            larger(channel(t, 8), channel(s, 8)), larger(channel(t, 0), channel(s, 0)));
    }
}
