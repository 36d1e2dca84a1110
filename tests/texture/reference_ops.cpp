#include "reference_ops.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace reference {

namespace {

    // Wrapped cell and fraction of one coordinate; huge values are reduced
    // modulo 256 first and non-finite ones count as 0, as in the engine.
    void splitCoordinate(double x, int32_t* cell, double* fraction)
    {
        if (!(x >= -2147483648.0 && x < 2147483648.0))
            x = std::isfinite(x) ? std::fmod(x, 256.0) : 0.0;
        int32_t whole = (int32_t)std::floor(x);
        *fraction = x - whole;
        *cell = (int32_t)((uint32_t)whole & 255);
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

} // namespace

Pixel sampleBilinear(const Pixel* pixels, double x, double y)
{
    int32_t ix, iy;
    double fx, fy;
    splitCoordinate(x, &ix, &fx);
    splitCoordinate(y, &iy, &fy);
    int32_t ix1 = (ix + 1) & 255;
    int32_t iy1 = (iy + 1) & 255;
    const Pixel p[4] = { pixels[iy * 256 + ix], pixels[iy * 256 + ix1], pixels[iy1 * 256 + ix],
        pixels[iy1 * 256 + ix1] };
    const double w[4] = { (1 - fx) * (1 - fy), (1 - fy) * fx, (1 - fx) * fy, fx * fy };
    int32_t blue = blendChannel(p, w, 0);
    int32_t green = blendChannel(p, w, 8);
    int32_t red = blendChannel(p, w, 16);
    return composeColor(red, green, blue);
}

void deformTexture(Pixel* pixels, int32_t wavesX, int32_t sizeX, int32_t wavesY, int32_t sizeY)
{
    std::vector<Pixel> scratch(65536);
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            double ox = sin(y * 6.283185308 * wavesX / 256.0) * sizeX;
            double oy = sin(x * 6.283185308 * wavesY / 256.0) * sizeY;
            scratch[y * 256 + x] = sampleBilinear(pixels, x + ox, y + oy);
        }
    }
    std::copy(scratch.begin(), scratch.end(), pixels);
}

void twirlTexture(Pixel* pixels, int32_t direction)
{
    std::vector<Pixel> scratch(65536);
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            double dx = x - 128.0;
            double dy = y - 128.0;
            double r = sqrt(dx * dx + dy * dy);
            double theta = atan2(dy, dx);
            if (r < 128)
                theta = theta
                    + (sin(6.283185308 * r / 128 + (-1.570796327)) + 1.0) * (direction / 64.0);
            double sx = 128 + r * cos(theta);
            double sy = 128 + r * sin(theta);
            scratch[y * 256 + x] = sampleBilinear(pixels, sx, sy);
        }
    }
    std::copy(scratch.begin(), scratch.end(), pixels);
}

void moveTexture(Pixel* pixels, int32_t dx, int32_t dy)
{
    std::vector<Pixel> scratch(65536);
    for (uint32_t x = 0; x < 256; ++x) {
        for (uint32_t y = 0; y < 256; ++y) {
            uint32_t sx = (x - (uint32_t)dx) & 255;
            uint32_t sy = (y - (uint32_t)dy) & 255;
            scratch[y * 256 + x] = pixels[sy * 256 + sx];
        }
    }
    std::copy(scratch.begin(), scratch.end(), pixels);
}

void colorizeTexture(Pixel* pixels, int32_t red1, int32_t green1, int32_t blue1, int32_t red2,
    int32_t green2, int32_t blue2)
{
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            Pixel* pixel = pixels + y * 256 + x;
            int64_t k = *pixel & 255;
            int64_t w = 256 - k;
            int64_t red = (red1 * w + red2 * k) >> 8;
            int64_t green = (green1 * w + green2 * k) >> 8;
            int64_t blue = (blue1 * w + blue2 * k) >> 8;
            *pixel = ((uint32_t)red << 16) + ((uint32_t)green << 8) + (uint32_t)blue;
        }
    }
}

void addTexture(Pixel* target, const Pixel* source)
{
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            int32_t i = y * 256 + x;
            Pixel t = target[i], s = source[i];
            int32_t red = std::min(channel(t, 16) + channel(s, 16), 255);
            int32_t green = std::min(channel(t, 8) + channel(s, 8), 255);
            int32_t blue = std::min(channel(t, 0) + channel(s, 0), 255);
            target[i] = composeColor(red, green, blue);
        }
    }
}

void subtractTexture(Pixel* target, const Pixel* source)
{
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            int32_t i = y * 256 + x;
            Pixel t = target[i], s = source[i];
            int32_t red = std::max(channel(t, 16) - channel(s, 16), 0);
            int32_t green = std::max(channel(t, 8) - channel(s, 8), 0);
            int32_t blue = std::max(channel(t, 0) - channel(s, 0), 0);
            target[i] = composeColor(red, green, blue);
        }
    }
}

void mixTexture(Pixel* target, const Pixel* source, int32_t balance)
{
    int32_t b = balance < 0 ? 0 : balance > 255 ? 255 : balance;
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            int32_t i = y * 256 + x;
            Pixel t = target[i], s = source[i];
            int32_t red = (b * channel(t, 16) + (256 - b) * channel(s, 16)) >> 8;
            int32_t green = (b * channel(t, 8) + (256 - b) * channel(s, 8)) >> 8;
            int32_t blue = (b * channel(t, 0) + (256 - b) * channel(s, 0)) >> 8;
            target[i] = composeColor(red, green, blue);
        }
    }
}

void maxTexture(Pixel* target, const Pixel* source)
{
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            int32_t i = y * 256 + x;
            Pixel t = target[i], s = source[i];
            int32_t red = std::max(channel(t, 16), channel(s, 16));
            int32_t green = std::max(channel(t, 8), channel(s, 8));
            int32_t blue = std::max(channel(t, 0), channel(s, 0));
            target[i] = composeColor(red, green, blue);
        }
    }
}

} // namespace reference
