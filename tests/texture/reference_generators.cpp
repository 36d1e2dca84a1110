#include "reference_generators.h"

#include <cmath>

#include "texture/random.h"
#include "texture/torus.h"

void referenceCells(Pixel* pixels, int32_t count, int32_t size)
{
    if (count > 500)
        count = 500;
    int32_t pointX[500];
    int32_t pointY[500];
    for (int32_t k = 0; k < count; ++k) {
        pointX[k] = (int32_t)randomNumber(256);
        pointY[k] = (int32_t)randomNumber(256);
    }
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            int32_t nearest = 256;
            for (int32_t k = 0; k < count; ++k) {
                int32_t d = torusDistance(x, y, pointX[k], pointY[k]);
                if (d < nearest)
                    nearest = d;
            }
            Pixel pixel = 0xFFFFFF;
            if (nearest <= size)
                pixel = (Pixel)(nearest * 255 / size) * 0x010101u;
            pixels[y * 256 + x] = pixel;
        }
    }
}

void referencePong(Pixel* pixels, int32_t size)
{
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            int32_t d = torusDistance(x, y, 128, 128);
            Pixel pixel = 0;
            if (d <= size)
                pixel = (Pixel)(255 - d * 255 / size) * 0x010101u;
            pixels[y * 256 + x] = pixel;
        }
    }
}

void referenceSine(Pixel* pixels, int32_t wavesX, int32_t wavesY)
{
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            double a = sin(x * 6.283185308 * wavesX / 256.0) * 63.5 + 64.0;
            double b = sin(y * 6.283185308 * wavesY / 256.0) * 63.5 + 64.0;
            int32_t level = (int32_t)(b + a);
            pixels[y * 256 + x] = (Pixel)level * 0x010101u;
        }
    }
}
