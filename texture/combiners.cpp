#include "texture/combiners.h"

#include <cstring>

namespace {

int32_t channel(Pixel pixel, int32_t shift)
{
    return (int32_t)((pixel >> shift) & 255);
}

} // namespace

void addTexture(Pixel* target, const Pixel* source)
{
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            int32_t i = y * 256 + x;
            Pixel t = target[i], s = source[i];
            int32_t red = channel(t, 16) + channel(s, 16);
            int32_t green = channel(t, 8) + channel(s, 8);
            int32_t blue = channel(t, 0) + channel(s, 0);
            if (red > 255)
                red = 255;
            if (green > 255)
                green = 255;
            if (blue > 255)
                blue = 255;
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
            int32_t red = channel(t, 16) - channel(s, 16);
            int32_t green = channel(t, 8) - channel(s, 8);
            int32_t blue = channel(t, 0) - channel(s, 0);
            if (red < 0)
                red = 0;
            if (green < 0)
                green = 0;
            if (blue < 0)
                blue = 0;
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

void copyTexture(Pixel* target, const Pixel* source)
{
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            int32_t i = y * 256 + x;
            target[i] = source[i];
        }
    }
}

void maxTexture(Pixel* target, const Pixel* source)
{
    for (int32_t x = 0; x < 256; ++x) {
        for (int32_t y = 0; y < 256; ++y) {
            int32_t i = y * 256 + x;
            Pixel t = target[i], s = source[i];
            int32_t red = channel(t, 16) > channel(s, 16) ? channel(t, 16) : channel(s, 16);
            int32_t green = channel(t, 8) > channel(s, 8) ? channel(t, 8) : channel(s, 8);
            int32_t blue = channel(t, 0) > channel(s, 0) ? channel(t, 0) : channel(s, 0);
            target[i] = composeColor(red, green, blue);
        }
    }
}
