#include "texture/generators.h"

#include <cmath>

#include "texture/random.h"
#include "texture/texture.h"
#include "texture/torus.h"

static const int32_t MAX_CELL_POINTS = 500;

void generateCells(Pixel* pixels, int32_t count, int32_t size)
{
    if (count > MAX_CELL_POINTS)
        count = MAX_CELL_POINTS;
    if (size < 1)
        size = 1;
    int32_t pointX[MAX_CELL_POINTS];
    int32_t pointY[MAX_CELL_POINTS];
    for (int32_t k = 0; k < count; ++k) {
        pointX[k] = (int32_t)randomNumber(256);
        pointY[k] = (int32_t)randomNumber(256);
    }
    for (int32_t x = 0; x < TEXTURE_SIZE; ++x) {
        for (int32_t y = 0; y < TEXTURE_SIZE; ++y) {
            int32_t nearest = 256;
            for (int32_t k = 0; k < count; ++k) {
                int32_t d = torusDistance(x, y, pointX[k], pointY[k]);
                if (d < nearest)
                    nearest = d;
            }
            Pixel pixel = 0xFFFFFF;
            if (nearest <= size)
                pixel = (Pixel)(nearest * 255 / size) * 0x010101u;
            pixels[y * TEXTURE_SIZE + x] = pixel;
        }
    }
}

void generatePlasma(Pixel* pixels, int32_t variation)
{
    pixels[0] = 0x7F7F7F;
    plasmaSubdivide(pixels, 0, 0, TEXTURE_SIZE, variation);
}

void plasmaSubdivide(Pixel* pixels, int32_t x, int32_t y, int32_t size, int32_t variation)
{
    int32_t x1 = (x + size) % 256;
    int32_t y1 = (y + size) % 256;
    int32_t a = (int32_t)(pixels[y * 256 + x] & 0xFF);
    int32_t b = (int32_t)(pixels[y * 256 + x1] & 0xFF);
    int32_t c = (int32_t)(pixels[y1 * 256 + x] & 0xFF);
    int32_t d = (int32_t)(pixels[y1 * 256 + x1] & 0xFF);
    int32_t amplitude = size * variation;
    int32_t half = size / 2;
    Pixel* top = &pixels[y * 256 + x + half];
    if (*top == EMPTY_PIXEL)
        *top = (Pixel)plasmaEdgeValue(a, b, amplitude) * 0x010101u;
    Pixel* left = &pixels[(y + half) * 256 + x];
    if (*left == EMPTY_PIXEL)
        *left = (Pixel)plasmaEdgeValue(a, c, amplitude) * 0x010101u;
    Pixel* right = &pixels[(y + half) * 256 + x1];
    if (*right == EMPTY_PIXEL)
        *right = (Pixel)plasmaEdgeValue(b, d, amplitude) * 0x010101u;
    Pixel* bottom = &pixels[y1 * 256 + x + half];
    if (*bottom == EMPTY_PIXEL)
        *bottom = (Pixel)plasmaEdgeValue(c, d, amplitude) * 0x010101u;
    pixels[(y + half) * 256 + x + half]
        = (Pixel)plasmaCentreValue(a, b, c, d, amplitude) * 0x010101u;
    if (half > 1) {
        plasmaSubdivide(pixels, x, y, half, variation);
        plasmaSubdivide(pixels, x + half, y, half, variation);
        plasmaSubdivide(pixels, x, y + half, half, variation);
        plasmaSubdivide(pixels, x + half, y + half, half, variation);
    }
}

// Adds the random displacement to a mean level and clamps it to 0..255.
static int32_t displace(int32_t v, int32_t amplitude)
{
    v = v + (int32_t)randomNumber((uint32_t)amplitude) - amplitude / 2;
    if (v < 0)
        return 0;
    if (v > 255)
        return 255;
    return v;
}

int32_t plasmaEdgeValue(int32_t a, int32_t b, int32_t amplitude)
{
    return displace((a + b) / 2, amplitude);
}

int32_t plasmaCentreValue(int32_t a, int32_t b, int32_t c, int32_t d, int32_t amplitude)
{
    return displace((a + b + c + d) / 4, amplitude);
}

void generatePong(Pixel* pixels, int32_t size)
{
    if (size < 1)
        size = 1;
    for (int32_t x = 0; x < TEXTURE_SIZE; ++x) {
        for (int32_t y = 0; y < TEXTURE_SIZE; ++y) {
            int32_t d = torusDistance(x, y, 128, 128);
            Pixel pixel = 0;
            if (d <= size)
                pixel = (Pixel)(255 - d * 255 / size) * 0x010101u;
            pixels[y * TEXTURE_SIZE + x] = pixel;
        }
    }
}

void generateSine(Pixel* pixels, int32_t wavesX, int32_t wavesY)
{
    for (int32_t x = 0; x < TEXTURE_SIZE; ++x) {
        for (int32_t y = 0; y < TEXTURE_SIZE; ++y) {
            double a = sin(x * 6.283185308 * wavesX / 256.0) * 63.5 + 64.0;
            double b = sin(y * 6.283185308 * wavesY / 256.0) * 63.5 + 64.0;
            int32_t level = (int32_t)(b + a);
            pixels[y * TEXTURE_SIZE + x] = (Pixel)level * 0x010101u;
        }
    }
}
