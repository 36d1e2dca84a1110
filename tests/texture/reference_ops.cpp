#include "reference_ops.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

    int32_t blendChannel(const Pixel p[4], const double w[4], int32_t shift)
    {
        double s = 0.0;
        for (int32_t k = 0; k < 4; ++k)
            s = (double)((p[k] >> shift) & 255) * w[k] + s;
        return (int32_t)s;
    }

    int32_t channel(Pixel pixel, int32_t shift)
    {
        return (int32_t)((pixel >> shift) & 255);
    }

    // Calls `set(i)` for the index of every pixel, column by column.
    template <class Set> void everyPixel(int32_t side, const Set& set)
    {
        for (int32_t x = 0; x < side; ++x)
            for (int32_t y = 0; y < side; ++y)
                set((size_t)y * side + x, x, y);
    }

} // namespace

Pixel sampleBilinear(const Pixel* pixels, int32_t side, double x, double y)
{
    int32_t ix, iy;
    double fx, fy;
    splitCoordinate(side, x, &ix, &fx);
    splitCoordinate(side, y, &iy, &fy);
    int32_t ix1 = (ix + 1) & (side - 1);
    int32_t iy1 = (iy + 1) & (side - 1);
    const size_t n = side;
    const Pixel p[4] = { pixels[iy * n + ix], pixels[iy * n + ix1], pixels[iy1 * n + ix],
        pixels[iy1 * n + ix1] };
    const double w[4] = { (1 - fx) * (1 - fy), (1 - fy) * fx, (1 - fx) * fy, fx * fy };
    int32_t blue = blendChannel(p, w, 0);
    int32_t green = blendChannel(p, w, 8);
    int32_t red = blendChannel(p, w, 16);
    return composeColor(red, green, blue);
}

void deformTexture(
    Pixel* pixels, int32_t side, int32_t wavesX, int32_t sizeX, int32_t wavesY, int32_t sizeY)
{
    int64_t k = side / 256;
    double n = side;
    std::vector<Pixel> scratch((size_t)side * side);
    everyPixel(side, [&](size_t i, int32_t x, int32_t y) {
        double ox = sin(y * 6.283185308 * wavesX / n) * (double)(sizeX * k);
        double oy = sin(x * 6.283185308 * wavesY / n) * (double)(sizeY * k);
        scratch[i] = sampleBilinear(pixels, side, x + ox, y + oy);
    });
    std::copy(scratch.begin(), scratch.end(), pixels);
}

void twirlTexture(Pixel* pixels, int32_t side, int32_t direction)
{
    double c = side / 2;
    std::vector<Pixel> scratch((size_t)side * side);
    everyPixel(side, [&](size_t i, int32_t x, int32_t y) {
        double dx = x - c;
        double dy = y - c;
        double r = sqrt(dx * dx + dy * dy);
        double theta = atan2(dy, dx);
        if (r < c)
            theta = theta + (sin(6.283185308 * r / c + (-1.570796327)) + 1.0) * (direction / 64.0);
        double sx = c + r * cos(theta);
        double sy = c + r * sin(theta);
        scratch[i] = sampleBilinear(pixels, side, sx, sy);
    });
    std::copy(scratch.begin(), scratch.end(), pixels);
}

void moveTexture(Pixel* pixels, int32_t side, int32_t dx, int32_t dy)
{
    int64_t k = side / 256;
    std::vector<Pixel> scratch((size_t)side * side);
    everyPixel(side, [&](size_t i, int32_t x, int32_t y) {
        // The shift k * d taken modulo the side, which divides 2^32.
        uint32_t sx = (uint32_t)(x - (int64_t)dx * k) & (uint32_t)(side - 1);
        uint32_t sy = (uint32_t)(y - (int64_t)dy * k) & (uint32_t)(side - 1);
        scratch[i] = pixels[(size_t)sy * side + sx];
    });
    std::copy(scratch.begin(), scratch.end(), pixels);
}

void colorizeTexture(Pixel* pixels, int32_t side, int32_t red1, int32_t green1, int32_t blue1,
    int32_t red2, int32_t green2, int32_t blue2)
{
    everyPixel(side, [&](size_t i, int32_t, int32_t) {
        Pixel* pixel = pixels + i;
        int64_t k = *pixel & 255;
        int64_t w = 256 - k;
        int64_t red = (red1 * w + red2 * k) >> 8;
        int64_t green = (green1 * w + green2 * k) >> 8;
        int64_t blue = (blue1 * w + blue2 * k) >> 8;
        *pixel = ((uint32_t)red << 16) + ((uint32_t)green << 8) + (uint32_t)blue;
    });
}

void addTexture(Pixel* target, const Pixel* source, int32_t side)
{
    everyPixel(side, [&](size_t i, int32_t, int32_t) {
        Pixel t = target[i], s = source[i];
        int32_t red = std::min(channel(t, 16) + channel(s, 16), 255);
        int32_t green = std::min(channel(t, 8) + channel(s, 8), 255);
        int32_t blue = std::min(channel(t, 0) + channel(s, 0), 255);
        target[i] = composeColor(red, green, blue);
    });
}

void subtractTexture(Pixel* target, const Pixel* source, int32_t side)
{
    everyPixel(side, [&](size_t i, int32_t, int32_t) {
        Pixel t = target[i], s = source[i];
        int32_t red = std::max(channel(t, 16) - channel(s, 16), 0);
        int32_t green = std::max(channel(t, 8) - channel(s, 8), 0);
        int32_t blue = std::max(channel(t, 0) - channel(s, 0), 0);
        target[i] = composeColor(red, green, blue);
    });
}

void mixTexture(Pixel* target, const Pixel* source, int32_t side, int32_t balance)
{
    int32_t b = balance < 0 ? 0 : balance > 255 ? 255 : balance;
    everyPixel(side, [&](size_t i, int32_t, int32_t) {
        Pixel t = target[i], s = source[i];
        int32_t red = (b * channel(t, 16) + (256 - b) * channel(s, 16)) >> 8;
        int32_t green = (b * channel(t, 8) + (256 - b) * channel(s, 8)) >> 8;
        int32_t blue = (b * channel(t, 0) + (256 - b) * channel(s, 0)) >> 8;
        target[i] = composeColor(red, green, blue);
    });
}

void maxTexture(Pixel* target, const Pixel* source, int32_t side)
{
    everyPixel(side, [&](size_t i, int32_t, int32_t) {
        Pixel t = target[i], s = source[i];
        int32_t red = std::max(channel(t, 16), channel(s, 16));
        int32_t green = std::max(channel(t, 8), channel(s, 8));
        int32_t blue = std::max(channel(t, 0), channel(s, 0));
        target[i] = composeColor(red, green, blue);
    });
}

} // namespace reference
