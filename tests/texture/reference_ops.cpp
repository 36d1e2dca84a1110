#include "reference_ops.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "trig/rounded_trig.h"

namespace reference {

namespace {

    // Wrapped cell and fraction of one coordinate; huge values are reduced
    // modulo the side first and non-finite ones count as 0, as in the engine.
    void splitCoordinate(int32_t side, double x, int32_t* cell, double* fraction)
    {
        if (!(x >= -2147483648.0 && x < 2147483648.0))
            x = std::isfinite(x) ? std::fmod(x, (double)side) : 0.0;
        int32_t whole = (int32_t)std::floor(x);
        *fraction = x - whole;
        *cell = (int32_t)((uint32_t)whole & (uint32_t)(side - 1));
    }

    template <class P> int64_t blendChannel(const P p[4], const double w[4], int index)
    {
        double s = 0.0;
        for (int32_t k = 0; k < 4; ++k)
            s = (double)ReferenceDepth<P>::channel(p[k], index) * w[k] + s;
        return (int64_t)s;
    }

    // A colour from components on the 0..255 scale, each taken U times. The
    // parts are added, so components outside 0..255 wrap modulo the pixel's
    // width as the engine documents.
    template <class P> P colorOf(int64_t red, int64_t green, int64_t blue)
    {
        typedef ReferenceDepth<P> D;
        return (P)(((uint64_t)(red * D::U) << (2 * D::BITS)) + ((uint64_t)(green * D::U) << D::BITS)
            + (uint64_t)(blue * D::U));
    }

    // Calls `set(i)` for the index of every pixel, column by column.
    template <class Set> void everyPixel(int32_t side, const Set& set)
    {
        for (int32_t x = 0; x < side; ++x)
            for (int32_t y = 0; y < side; ++y)
                set((size_t)y * side + x, x, y);
    }

    // Sets every target pixel to `combine` of each pair of channels.
    template <class P, class Combine>
    void combineChannels(P* target, const P* source, int32_t side, const Combine& combine)
    {
        typedef ReferenceDepth<P> D;
        everyPixel(side, [&](size_t i, int32_t, int32_t) {
            P t = target[i], s = source[i];
            target[i] = D::compose(combine(D::channel(t, 2), D::channel(s, 2)),
                combine(D::channel(t, 1), D::channel(s, 1)),
                combine(D::channel(t, 0), D::channel(s, 0)));
        });
    }

} // namespace

template <class P> P sampleBilinear(const P* pixels, int32_t side, double x, double y)
{
    int32_t ix, iy;
    double fx, fy;
    splitCoordinate(side, x, &ix, &fx);
    splitCoordinate(side, y, &iy, &fy);
    int32_t ix1 = (ix + 1) & (side - 1);
    int32_t iy1 = (iy + 1) & (side - 1);
    const size_t n = side;
    const P p[4] = { pixels[iy * n + ix], pixels[iy * n + ix1], pixels[iy1 * n + ix],
        pixels[iy1 * n + ix1] };
    const double w[4] = { (1 - fx) * (1 - fy), (1 - fy) * fx, (1 - fx) * fy, fx * fy };
    return ReferenceDepth<P>::compose(
        blendChannel(p, w, 2), blendChannel(p, w, 1), blendChannel(p, w, 0));
}

template <class P>
void deformTexture(
    P* pixels, int32_t side, int32_t wavesX, int32_t sizeX, int32_t wavesY, int32_t sizeY)
{
    int64_t k = side / 256;
    double n = side;
    // The horizontal offset is the same expression of the row for every
    // pixel of it, the vertical one of the column: each worked out once.
    std::vector<double> offsetX((size_t)side), offsetY((size_t)side);
    for (int32_t i = 0; i < side; ++i) {
        offsetX[(size_t)i] = roundedSin(i * 6.283185308 * wavesX / n) * (double)(sizeX * k);
        offsetY[(size_t)i] = roundedSin(i * 6.283185308 * wavesY / n) * (double)(sizeY * k);
    }
    std::vector<P> scratch((size_t)side * side);
    everyPixel(side, [&](size_t i, int32_t x, int32_t y) {
        double ox = offsetX[(size_t)y];
        double oy = offsetY[(size_t)x];
        scratch[i] = sampleBilinear(pixels, side, x + ox, y + oy);
    });
    std::copy(scratch.begin(), scratch.end(), pixels);
}

template <class P> void twirlTexture(P* pixels, int32_t side, int32_t direction)
{
    double c = side / 2;
    std::vector<P> scratch((size_t)side * side);
    everyPixel(side, [&](size_t i, int32_t x, int32_t y) {
        double dx = x - c;
        double dy = y - c;
        double r = sqrt(dx * dx + dy * dy);
        double theta = roundedAtan2(dy, dx);
        if (r < c)
            theta = theta
                + (roundedSin(6.283185308 * r / c + (-1.570796327)) + 1.0) * (direction / 64.0);
        double sx = c + r * roundedCos(theta);
        double sy = c + r * roundedSin(theta);
        scratch[i] = sampleBilinear(pixels, side, sx, sy);
    });
    std::copy(scratch.begin(), scratch.end(), pixels);
}

template <class P> void moveTexture(P* pixels, int32_t side, int32_t dx, int32_t dy)
{
    int64_t k = side / 256;
    std::vector<P> scratch((size_t)side * side);
    everyPixel(side, [&](size_t i, int32_t x, int32_t y) {
        // The shift k * d taken modulo the side, which divides 2^32.
        uint32_t sx = (uint32_t)(x - (int64_t)dx * k) & (uint32_t)(side - 1);
        uint32_t sy = (uint32_t)(y - (int64_t)dy * k) & (uint32_t)(side - 1);
        scratch[i] = pixels[(size_t)sy * side + sx];
    });
    std::copy(scratch.begin(), scratch.end(), pixels);
}

template <class P>
void colorizeTexture(P* pixels, int32_t side, int32_t red1, int32_t green1, int32_t blue1,
    int32_t red2, int32_t green2, int32_t blue2)
{
    typedef ReferenceDepth<P> D;
    everyPixel(side, [&](size_t i, int32_t, int32_t) {
        int64_t k = D::channel(pixels[i], 0);
        int64_t w = D::MAX + 1 - k;
        // Each channel of the ramp in (MAX + 1)ths, on the 0..255 scale.
        int64_t red = (red1 * D::U * w + red2 * D::U * k) >> D::BITS;
        int64_t green = (green1 * D::U * w + green2 * D::U * k) >> D::BITS;
        int64_t blue = (blue1 * D::U * w + blue2 * D::U * k) >> D::BITS;
        pixels[i]
            = (P)(((uint64_t)red << (2 * D::BITS)) + ((uint64_t)green << D::BITS) + (uint64_t)blue);
    });
}

template <class P> void invertTexture(P* pixels, int32_t side)
{
    typedef ReferenceDepth<P> D;
    everyPixel(side, [&](size_t i, int32_t, int32_t) {
        P p = pixels[i];
        P inverted = D::compose(
            D::MAX - D::channel(p, 2), D::MAX - D::channel(p, 1), D::MAX - D::channel(p, 0));
        pixels[i] = (P)((p & (P)~D::colorBits()) | inverted);
    });
}

template <class P>
void clearTexture(P* pixels, int32_t side, int32_t red, int32_t green, int32_t blue)
{
    everyPixel(side, [&](size_t i, int32_t, int32_t) { pixels[i] = colorOf<P>(red, green, blue); });
}

template <class P> void addTexture(P* target, const P* source, int32_t side)
{
    combineChannels(target, source, side,
        [](int64_t t, int64_t s) { return std::min(t + s, ReferenceDepth<P>::MAX); });
}

template <class P> void subtractTexture(P* target, const P* source, int32_t side)
{
    combineChannels(
        target, source, side, [](int64_t t, int64_t s) { return std::max(t - s, (int64_t)0); });
}

template <class P> void mixTexture(P* target, const P* source, int32_t side, int32_t balance)
{
    int64_t b = balance < 0 ? 0 : balance > 255 ? 255 : balance;
    combineChannels(
        target, source, side, [b](int64_t t, int64_t s) { return (b * t + (256 - b) * s) >> 8; });
}

template <class P> void maxTexture(P* target, const P* source, int32_t side)
{
    combineChannels(target, source, side, [](int64_t t, int64_t s) { return std::max(t, s); });
}

#define REFERENCE_OPS(P)                                                                           \
    template P sampleBilinear(const P*, int32_t, double, double);                                  \
    template void deformTexture(P*, int32_t, int32_t, int32_t, int32_t, int32_t);                  \
    template void twirlTexture(P*, int32_t, int32_t);                                              \
    template void moveTexture(P*, int32_t, int32_t, int32_t);                                      \
    template void colorizeTexture(                                                                 \
        P*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);                        \
    template void invertTexture(P*, int32_t);                                                      \
    template void clearTexture(P*, int32_t, int32_t, int32_t, int32_t);                            \
    template void addTexture(P*, const P*, int32_t);                                               \
    template void subtractTexture(P*, const P*, int32_t);                                          \
    template void mixTexture(P*, const P*, int32_t, int32_t);                                      \
    template void maxTexture(P*, const P*, int32_t);
REFERENCE_OPS(Pixel)
REFERENCE_OPS(DeepPixel)

} // namespace reference
