#include "reference_generators.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "texture/depth.h"
#include "texture/random.h"
#include "texture/texture.h"
#include "texture/torus.h"
#include "trig/rounded_trig.h"

template <class P> void referenceCells(P* pixels, int32_t side, int32_t count, int32_t size)
{
    typedef ReferenceDepth<P> D;
    int32_t k = side / 256;
    if (count > 500)
        count = 500;
    int32_t pointX[500];
    int32_t pointY[500];
    for (int32_t i = 0; i < count; ++i) {
        pointX[i] = (int32_t)randomNumber(256) * k;
        pointY[i] = (int32_t)randomNumber(256) * k;
    }
    int64_t reach = (int64_t)size * k;
    for (int32_t x = 0; x < side; ++x) {
        for (int32_t y = 0; y < side; ++y) {
            int32_t nearest = 256 * k;
            for (int32_t i = 0; i < count; ++i)
                nearest = std::min(nearest, torusDistance(side, x, y, pointX[i], pointY[i]));
            P pixel = D::grey(D::MAX);
            if (nearest <= reach)
                pixel = D::grey(nearest * D::MAX / reach);
            pixels[(size_t)y * side + x] = pixel;
        }
    }
}

template <class P> void referencePong(P* pixels, int32_t side, int32_t size)
{
    typedef ReferenceDepth<P> D;
    int64_t reach = (int64_t)size * (side / 256);
    for (int32_t x = 0; x < side; ++x) {
        for (int32_t y = 0; y < side; ++y) {
            int32_t d = torusDistance(side, x, y, side / 2, side / 2);
            P pixel = 0;
            if (d <= reach)
                pixel = D::grey(D::MAX - d * D::MAX / reach);
            pixels[(size_t)y * side + x] = pixel;
        }
    }
}

template <class P> void referenceSine(P* pixels, int32_t side, int32_t wavesX, int32_t wavesY)
{
    typedef ReferenceDepth<P> D;
    double n = side;
    // Each term is the same expression of one coordinate for every pixel, so
    // it is worked out once per column and once per row.
    std::vector<double> across((size_t)side), down((size_t)side);
    for (int32_t i = 0; i < side; ++i) {
        across[(size_t)i] = roundedSin(i * 6.283185308 * wavesX / n) * 63.5 + 64.0;
        down[(size_t)i] = roundedSin(i * 6.283185308 * wavesY / n) * 63.5 + 64.0;
    }
    for (int32_t x = 0; x < side; ++x) {
        for (int32_t y = 0; y < side; ++y) {
            double a = across[(size_t)x];
            double b = down[(size_t)y];
            int32_t level = (int32_t)((b + a) * (double)D::U);
            pixels[(size_t)y * side + x] = D::grey(level);
        }
    }
}

namespace {

template <class P> struct Plasma {
    typedef ReferenceDepth<P> D;
    P* pixels;
    int32_t side;
    int32_t k;
    int32_t variation;
    uint32_t firstSeed;

    P& at(int32_t x, int32_t y)
    {
        return pixels[(size_t)(y & (side - 1)) * side + (x & (side - 1))];
    }
    int64_t level(int32_t x, int32_t y) { return (int64_t)(at(x, y) & (P)D::MAX); }

    // A coarse square's value: its mean displaced by the generator, the
    // amplitude on the 0..255 scale saturated at the largest int, each step
    // of the offset U levels.
    int64_t displaced(int64_t mean, int32_t s)
    {
        int64_t amplitude = std::min((int64_t)(s / k) * variation, (int64_t)INT32_MAX);
        int64_t offset = randomNumber((uint32_t)amplitude);
        return std::clamp(mean + (offset - amplitude / 2) * D::U, (int64_t)0, D::MAX);
    }

    void edge(int32_t x, int32_t y, int64_t a, int64_t b, int32_t s)
    {
        if (at(x, y) == D::empty())
            at(x, y) = D::grey(displaced((a + b) / 2, s));
    }

    // The 256 x 256 plasma's squares, scaled k times: sides 256k .. 2k.
    void subdivide(int32_t x, int32_t y, int32_t s)
    {
        int32_t half = s / 2;
        int64_t a = level(x, y), b = level(x + s, y), c = level(x, y + s), d = level(x + s, y + s);
        edge(x + half, y, a, b, s);
        edge(x, y + half, a, c, s);
        edge(x + s, y + half, b, d, s);
        edge(x + half, y + s, c, d, s);
        at(x + half, y + half) = D::grey(displaced((a + b + c + d) / 4, s));
        if (half >= 2 * k) {
            subdivide(x, y, half);
            subdivide(x + half, y, half);
            subdivide(x, y + half, half);
            subdivide(x + half, y + half, half);
        }
    }

    // A fine value written at (x, y) for squares of side s: the rounded
    // average of four neighbours plus the hashed offset centred on zero.
    P fine(int64_t sum, int32_t s, int32_t x, int32_t y)
    {
        int64_t m = (int64_t)s * variation / k / 2;
        uint64_t index = (uint64_t)y * (uint64_t)side + (uint64_t)x;
        uint64_t h = mix64(((uint64_t)firstSeed << 32) | index);
        int64_t offset = ((int64_t)(h % (uint64_t)(2 * m + 1)) - m) * D::U;
        return D::grey(std::clamp(((sum + 2) >> 2) + offset, (int64_t)0, D::MAX));
    }

    // The levels below the lattice: every square of side s = k .. 2 gets its
    // centres, then its edges, each pass over the whole texture.
    void fineLevels()
    {
        for (int32_t s = k; s >= 2; s /= 2) {
            int32_t h = s / 2;
            for (int32_t x = 0; x < side; ++x)
                for (int32_t y = 0; y < side; ++y)
                    if (x % s == h && y % s == h)
                        at(x, y) = fine(level(x - h, y - h) + level(x + h, y - h)
                                + level(x - h, y + h) + level(x + h, y + h),
                            s, x, y);
            for (int32_t x = 0; x < side; ++x)
                for (int32_t y = 0; y < side; ++y)
                    if ((x % s == h && y % s == 0) || (x % s == 0 && y % s == h))
                        at(x, y) = fine(
                            level(x - h, y) + level(x + h, y) + level(x, y - h) + level(x, y + h),
                            s, x, y);
        }
    }
};

} // namespace

template <class P> void referencePlasma(P* pixels, int32_t side, int32_t variation)
{
    Plasma<P> plasma { pixels, side, side / 256, variation, randomSeed };
    pixels[0] = ReferenceDepth<P>::grey(127 * ReferenceDepth<P>::U);
    plasma.subdivide(0, 0, side);
    plasma.fineLevels();
}

#define REFERENCE_GENERATORS(P)                                                                    \
    template void referenceCells(P*, int32_t, int32_t, int32_t);                                   \
    template void referencePong(P*, int32_t, int32_t);                                             \
    template void referenceSine(P*, int32_t, int32_t, int32_t);                                    \
    template void referencePlasma(P*, int32_t, int32_t);
REFERENCE_GENERATORS(Pixel)
REFERENCE_GENERATORS(DeepPixel)
