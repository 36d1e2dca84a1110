#include "texture/combiners.h"

#include <cstring>

#include "texture/parallel.h"
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

// Runs `combine(out, end, in)` over runs of whole rows that together cover
// both textures.
template <class Combine>
void forEachRun(Pixel* target, const Pixel* source, int32_t side, const Combine& combine)
{
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        size_t first = (size_t)begin * side;
        combine(target + first, target + (size_t)end * side, source + first);
    });
}

} // namespace

void addTexture(Pixel* target, const Pixel* source, int32_t side)
{
    forEachRun(target, source, side, [](Pixel* out, const Pixel* end, const Pixel* in) {
        for (; out < end; ++out, ++in) {
            Pixel t = *out, s = *in;
            *out = composeColor(capped(channel(t, 16), channel(s, 16)),
                capped(channel(t, 8), channel(s, 8)), capped(channel(t, 0), channel(s, 0)));
        }
    });
}

void subtractTexture(Pixel* target, const Pixel* source, int32_t side)
{
    forEachRun(target, source, side, [](Pixel* out, const Pixel* end, const Pixel* in) {
        for (; out < end; ++out, ++in) {
            Pixel t = *out, s = *in;
            *out = composeColor(floored(channel(t, 16), channel(s, 16)),
                floored(channel(t, 8), channel(s, 8)), floored(channel(t, 0), channel(s, 0)));
        }
    });
}

void mixTexture(Pixel* target, const Pixel* source, int32_t side, int32_t balance)
{
    // The stepper's top value 256 acts as 255, so no balance keeps the target whole.
    uint32_t b = balance < 0 ? 0 : balance > 255 ? 255 : (uint32_t)balance;
    uint32_t rest = 256 - b;
    forEachRun(target, source, side, [b, rest](Pixel* out, const Pixel* end, const Pixel* in) {
        for (; out < end; ++out, ++in) {
            Pixel t = *out, s = *in;
            *out = composeColor((b * channel(t, 16) + rest * channel(s, 16)) >> 8,
                (b * channel(t, 8) + rest * channel(s, 8)) >> 8,
                (b * channel(t, 0) + rest * channel(s, 0)) >> 8);
        }
    });
}

void copyTexture(Pixel* target, const Pixel* source, int32_t side)
{
    // memmove: the two arrays may be one and the same (then the runs are too).
    forEachRun(target, source, side, [](Pixel* out, const Pixel* end, const Pixel* in) {
        memmove(out, in, (size_t)(end - out) * sizeof(Pixel));
    });
}

void maxTexture(Pixel* target, const Pixel* source, int32_t side)
{
    forEachRun(target, source, side, [](Pixel* out, const Pixel* end, const Pixel* in) {
        for (; out < end; ++out, ++in) {
            Pixel t = *out, s = *in;
            *out = composeColor(larger(channel(t, 16), channel(s, 16)),
                larger(channel(t, 8), channel(s, 8)), larger(channel(t, 0), channel(s, 0)));
        }
    });
}
