#include "texture/warps.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "texture/texture.h"

namespace {

// Splits a coordinate into its wrapped cell (0..255) and the fraction
// x - floor(x). Coordinates beyond the 32-bit range are first reduced
// modulo 256 (fmod is exact), so the cell still wraps as it would with
// unbounded integers; a non-finite coordinate counts as 0.
void splitCoordinate(double x, int32_t* cell, double* fraction)
{
    if (!(x >= -2147483648.0 && x < 2147483648.0))
        x = std::isfinite(x) ? std::fmod(x, 256.0) : 0.0;
    int32_t whole = (int32_t)std::floor(x);
    *fraction = x - whole;
    *cell = whole & 255;
}

// One channel of the blend: the four weighted values summed in order,
// truncated toward zero.
int32_t blendChannel(const Pixel p[4], const double w[4], int32_t shift)
{
    double s = 0.0;
    for (int32_t k = 0; k < 4; ++k)
        s = (double)((p[k] >> shift) & 255) * w[k] + s;
    return (int32_t)s;
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
    Pixel* scratch = (Pixel*)malloc(TEXTURE_PIXEL_COUNT * sizeof(Pixel));
    if (!scratch)
        return;
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            double ox = sin(y * 6.283185308 * wavesX / 256.0) * sizeX;
            double oy = sin(x * 6.283185308 * wavesY / 256.0) * sizeY;
            scratch[y * 256 + x] = sampleBilinear(pixels, x + ox, y + oy);
        }
    }
    memcpy(pixels, scratch, TEXTURE_PIXEL_COUNT * sizeof(Pixel));
    free(scratch);
}

void twirlTexture(Pixel* pixels, int32_t direction)
{
    Pixel* scratch = (Pixel*)malloc(TEXTURE_PIXEL_COUNT * sizeof(Pixel));
    if (!scratch)
        return;
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
    memcpy(pixels, scratch, TEXTURE_PIXEL_COUNT * sizeof(Pixel));
    free(scratch);
}

void moveTexture(Pixel* pixels, int32_t dx, int32_t dy)
{
    Pixel* scratch = (Pixel*)malloc(TEXTURE_PIXEL_COUNT * sizeof(Pixel));
    if (!scratch)
        return;
    // Unsigned differences: the low 8 bits are those of the two's-complement
    // difference, without overflow at the 32-bit extremes.
    for (uint32_t x = 0; x < 256; ++x) {
        for (uint32_t y = 0; y < 256; ++y) {
            uint32_t sx = (x - (uint32_t)dx) & 255;
            uint32_t sy = (y - (uint32_t)dy) & 255;
            scratch[y * 256 + x] = pixels[sy * 256 + sx];
        }
    }
    memcpy(pixels, scratch, TEXTURE_PIXEL_COUNT * sizeof(Pixel));
    free(scratch);
}
