#include "texture/color_ops.h"

#include <cstdlib>

#include "texture/parallel.h"
#include "texture/texture.h"

namespace {

// The deep ramp takes its colours from a table of one per level when the
// texture has at least this many pixels per level: from 512 x 512 on.
const size_t RAMP_TABLE_PIXELS_PER_LEVEL = 4;

// A component given on the 0..255 scale, at the texture's depth. 64 bits
// keep any component free of overflow.
template <class P> int64_t atDepth(int32_t component)
{
    return (int64_t)component * Depth<P>::UNIT;
}

// One channel of the ramp, with weight w of colour 1 and k of colour 2 in
// (MAX + 1)ths.
template <class P> int64_t rampChannel(int64_t c1, int64_t c2, int64_t w, int64_t k)
{
    return (c1 * w + c2 * k) >> Depth<P>::BITS;
}

// The two colours of a ramp at the texture's depth, red, green, blue.
struct Ramp {
    int64_t color1[3];
    int64_t color2[3];
};

// The ramp's colour for blue level k. Components the panel never gives
// (below 0 or above 255) wrap modulo the pixel's width instead of overflowing.
template <class P> P rampColor(const Ramp& ramp, uint32_t k)
{
    int64_t w = (int64_t)Depth<P>::MAX + 1 - k;
    return composeLevels<P>((uint64_t)rampChannel<P>(ramp.color1[0], ramp.color2[0], w, k),
        (uint64_t)rampChannel<P>(ramp.color1[1], ramp.color2[1], w, k),
        (uint64_t)rampChannel<P>(ramp.color1[2], ramp.color2[2], w, k));
}

// Runs `change(first, end)` over runs of whole rows that together cover
// the texture; each pixel's result depends on that pixel alone.
template <class P, class Change> void forEachRun(P* pixels, int32_t side, const Change& change)
{
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        change(pixels + (size_t)begin * side, pixels + (size_t)end * side);
    });
}

} // namespace

template <class P>
void colorizeTexture(P* pixels, int32_t side, int32_t red1, int32_t green1, int32_t blue1,
    int32_t red2, int32_t green2, int32_t blue2)
{
    const Ramp ramp { { atDepth<P>(red1), atDepth<P>(green1), atDepth<P>(blue1) },
        { atDepth<P>(red2), atDepth<P>(green2), atDepth<P>(blue2) } };
    if constexpr (Depth<P>::MAX < 256) {
        // The result depends only on the blue channel: one colour per level.
        P table[256];
        for (uint32_t k = 0; k < 256; ++k)
            table[k] = rampColor<P>(ramp, k);
        forEachRun(pixels, side, [&](P* pixel, const P* end) {
            for (; pixel < end; ++pixel)
                *pixel = table[*pixel & 255];
        });
    } else {
        // Working out a colour costs several times as much as reading it
        // from a table, so a texture with many more pixels than levels reads
        // all of them from one; the table is a heap block, and without it
        // each pixel is worked out.
        const size_t levels = (size_t)Depth<P>::MAX + 1;
        P* table = pixelCount(side) >= RAMP_TABLE_PIXELS_PER_LEVEL * levels
            ? (P*)malloc(levels * sizeof(P))
            : nullptr;
        if (table) {
            for (uint32_t k = 0; k < levels; ++k)
                table[k] = rampColor<P>(ramp, k);
            forEachRun(pixels, side, [table](P* pixel, const P* end) {
                for (; pixel < end; ++pixel)
                    *pixel = table[channelOf(*pixel, 0)];
            });
            free(table);
            return;
        }
        forEachRun(pixels, side, [&](P* pixel, const P* end) {
            for (; pixel < end; ++pixel)
                *pixel = rampColor<P>(ramp, channelOf(*pixel, 0));
        });
    }
}

template <class P> void invertTexture(P* pixels, int32_t side)
{
    forEachRun(pixels, side, [](P* pixel, const P* end) {
        for (; pixel < end; ++pixel)
            *pixel ^= Depth<P>::COLOR_BITS;
    });
}

template <class P>
void clearTexture(P* pixels, int32_t side, int32_t red, int32_t green, int32_t blue)
{
    P color = composeLevels<P>(
        (uint64_t)atDepth<P>(red), (uint64_t)atDepth<P>(green), (uint64_t)atDepth<P>(blue));
    forEachRun(pixels, side, [color](P* pixel, const P* end) {
        for (; pixel < end; ++pixel)
            *pixel = color;
    });
}

// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_COLOR_OPS(P)                                                                       \
    template void colorizeTexture(                                                                 \
        P*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);                        \
    template void invertTexture(P*, int32_t);                                                      \
    template void clearTexture(P*, int32_t, int32_t, int32_t, int32_t);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_COLOR_OPS)
