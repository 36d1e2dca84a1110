#include "reference_generators.h"

#include <algorithm>
#include <cmath>

#include "texture/random.h"
#include "texture/texture.h"
#include "texture/torus.h"

void referenceCells(Pixel* pixels, int32_t side, int32_t count, int32_t size)
{
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
            Pixel pixel = 0xFFFFFF;
            if (nearest <= reach)
                pixel = (Pixel)(nearest * 255 / reach) * 0x010101u;
            pixels[(size_t)y * side + x] = pixel;
        }
    }
}

void referencePong(Pixel* pixels, int32_t side, int32_t size)
{
    int64_t reach = (int64_t)size * (side / 256);
    for (int32_t x = 0; x < side; ++x) {
        for (int32_t y = 0; y < side; ++y) {
            int32_t d = torusDistance(side, x, y, side / 2, side / 2);
            Pixel pixel = 0;
            if (d <= reach)
                pixel = (Pixel)(255 - d * 255 / reach) * 0x010101u;
            pixels[(size_t)y * side + x] = pixel;
        }
    }
}

void referenceSine(Pixel* pixels, int32_t side, int32_t wavesX, int32_t wavesY)
{
    double n = side;
    for (int32_t x = 0; x < side; ++x) {
        for (int32_t y = 0; y < side; ++y) {
            double a = sin(x * 6.283185308 * wavesX / n) * 63.5 + 64.0;
            double b = sin(y * 6.283185308 * wavesY / n) * 63.5 + 64.0;
            int32_t level = (int32_t)(b + a);
            pixels[(size_t)y * side + x] = (Pixel)level * 0x010101u;
        }
    }
}

namespace {

struct Plasma {
    Pixel* pixels;
    int32_t side;
    int32_t k;
    int32_t variation;
    uint32_t firstSeed;

    Pixel& at(int32_t x, int32_t y)
    {
        return pixels[(size_t)(y & (side - 1)) * side + (x & (side - 1))];
    }
    int32_t level(int32_t x, int32_t y) { return (int32_t)(at(x, y) & 255); }

    // The offset for a square of side s written at (x, y): drawn from the
    // generator for the 256 plasma's own squares, hashed for finer ones.
    int32_t displaced(int32_t mean, int32_t s, int32_t x, int32_t y)
    {
        int64_t amplitude, offset;
        if (s >= 2 * k) {
            amplitude = (int64_t)(s / k) * variation;
            offset = randomNumber((uint32_t)amplitude);
        } else {
            amplitude = (int64_t)s * variation / k;
            uint32_t index = (uint32_t)((y & (side - 1)) * side + (x & (side - 1)));
            uint64_t h = mix64(((uint64_t)firstSeed << 32) | index);
            offset = amplitude > 0 ? (int64_t)(h % (uint64_t)amplitude) : 0;
        }
        return (int32_t)std::clamp(mean + offset - amplitude / 2, (int64_t)0, (int64_t)255);
    }

    void edge(int32_t x, int32_t y, int32_t a, int32_t b, int32_t s)
    {
        if (at(x, y) == EMPTY_PIXEL)
            at(x, y) = (Pixel)displaced((a + b) / 2, s, x, y) * 0x010101u;
    }

    void subdivide(int32_t x, int32_t y, int32_t s)
    {
        int32_t half = s / 2;
        int32_t a = level(x, y), b = level(x + s, y), c = level(x, y + s), d = level(x + s, y + s);
        edge(x + half, y, a, b, s);
        edge(x, y + half, a, c, s);
        edge(x + s, y + half, b, d, s);
        edge(x + half, y + s, c, d, s);
        at(x + half, y + half)
            = (Pixel)displaced((a + b + c + d) / 4, s, x + half, y + half) * 0x010101u;
        if (half > 1) {
            subdivide(x, y, half);
            subdivide(x + half, y, half);
            subdivide(x, y + half, half);
            subdivide(x + half, y + half, half);
        }
    }
};

} // namespace

void referencePlasma(Pixel* pixels, int32_t side, int32_t variation)
{
    Plasma plasma { pixels, side, side / 256, variation, randomSeed };
    pixels[0] = 0x7F7F7F;
    plasma.subdivide(0, 0, side);
}
