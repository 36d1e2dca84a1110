// The engine fuzzer's shared arrays and the checks over pixels that its run
// functions use.

#include <cmath>
#include <cstdio>
#include <cstring>

#include "fuzz/engine_fuzz.h"
#include "texture/warps.h"

namespace engine_fuzz {

int32_t side = TEXTURE_SIZE;
int32_t pixelTotal = TEXTURE_PIXEL_COUNT;
size_t pixelBytes = sizeof(Pixel);

void* targetArray = nullptr;
void* sourceArray = nullptr;
void* targetBeforeArray = nullptr;
void* sourceBeforeArray = nullptr;

size_t arrayBytes()
{
    return (size_t)pixelTotal * pixelBytes;
}

void check(bool holds, const char* property)
{
    if (holds)
        return;
    fprintf(stderr, "engine_fuzzer: violated: %s\n", property);
    __builtin_trap();
}

bool sameArrays(const void* a, const void* b)
{
    return memcmp(a, b, arrayBytes()) == 0;
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

template <class P> void checkSample(double x, double y)
{
    const P* target = arrays<P>().target;
    P p = sampleBilinear(target, side, x, y);
    check(withinBlend(p, channelMaxima(target)), "sample is a blend of the texture");
    int32_t cellX = wholeCell(x), cellY = wholeCell(y);
    if (cellX >= 0 && cellY >= 0)
        check(p == (target[cellY * side + cellX] & Depth<P>::COLOR_BITS),
            "sample at whole numbers is a pixel");
}

// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define ENGINE_FUZZ_CHECKS(P) template void checkSample<P>(double, double);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(ENGINE_FUZZ_CHECKS)

} // namespace engine_fuzz
