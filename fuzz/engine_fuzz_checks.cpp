// The engine fuzzer's shared arrays and the checks over pixels that its run
// functions use.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "fuzz/engine_fuzz.h"
#include "texture/warps.h"

namespace engine_fuzz {

int32_t side = TEXTURE_SIZE;
int32_t pixelTotal = TEXTURE_PIXEL_COUNT;

Pixel* target = nullptr;
Pixel* source = nullptr;
Pixel* targetBefore = nullptr;
Pixel* sourceBefore = nullptr;

size_t arrayBytes()
{
    return (size_t)pixelTotal * sizeof(Pixel);
}

void check(bool holds, const char* property)
{
    if (holds)
        return;
    fprintf(stderr, "engine_fuzzer: violated: %s\n", property);
    __builtin_trap();
}

int32_t channel(Pixel p, int32_t shift)
{
    return (int32_t)((p >> shift) & 255);
}

bool isGrey(Pixel p)
{
    return p == (p & 255) * 0x010101u;
}

bool allGrey(const Pixel* pixels)
{
    for (int32_t i = 0; i < pixelTotal; ++i)
        if (!isGrey(pixels[i]))
            return false;
    return true;
}

bool sameArrays(const Pixel* a, const Pixel* b)
{
    return memcmp(a, b, arrayBytes()) == 0;
}

Pixel channelMaxima(const Pixel* pixels)
{
    Pixel maxima = 0;
    for (int32_t shift = 0; shift < 24; shift += 8) {
        int32_t m = 0;
        for (int32_t i = 0; i < pixelTotal; ++i)
            m = std::max(m, channel(pixels[i], shift));
        maxima |= (Pixel)m << shift;
    }
    return maxima;
}

bool withinBlend(Pixel p, Pixel bound)
{
    return p >> 24 == 0 && channel(p, 0) <= channel(bound, 0) && channel(p, 8) <= channel(bound, 8)
        && channel(p, 16) <= channel(bound, 16);
}

namespace {

    // The wrapped cell of a whole-number coordinate, or -1 if it is not one.
    int32_t wholeCell(double v)
    {
        if (!std::isfinite(v) || std::floor(v) != v)
            return -1;
        double cell = std::fmod(v, (double)side); // exact
        return (int32_t)(cell < 0 ? cell + side : cell);
    }

} // namespace

void checkSample(double x, double y)
{
    Pixel p = sampleBilinear(target, side, x, y);
    check(withinBlend(p, channelMaxima(target)), "sample is a blend of the texture");
    int32_t cellX = wholeCell(x), cellY = wholeCell(y);
    if (cellX >= 0 && cellY >= 0)
        check(p == (target[cellY * side + cellX] & 0xFFFFFF), "sample at whole numbers is a pixel");
}

} // namespace engine_fuzz
