// The engine fuzzer's runs of the operations that rework a texture's pixels:
// the warps, the colour operations and the combiners.

#include <algorithm>
#include <vector>

#include "fuzz/engine_fuzz.h"
#include "texture/color_ops.h"
#include "texture/combiners.h"
#include "texture/warps.h"

namespace engine_fuzz {

template <class P> void runWarp(const Input& in)
{
    const int32_t* a = in.args;
    const Arrays<P> arr = arrays<P>();
    P* target = arr.target;
    const P* before = arr.targetBefore;
    const P colour = Depth<P>::COLOR_BITS;
    P bound = channelMaxima(before);
    switch (in.operation) {
    case OP_DEFORM: {
        deformTexture(target, side, a[0], a[1], a[2], a[3]);
        bool still = (a[0] == 0 || a[1] == 0) && (a[2] == 0 || a[3] == 0);
        for (int32_t i = 0; i < pixelTotal; ++i) {
            check(withinBlend(target[i], bound), "deform blends the texture");
            if (still)
                check(target[i] == (before[i] & colour), "deform without waves copies");
        }
        break;
    }
    case OP_TWIRL: {
        twirlTexture(target, side, a[0]);
        for (int32_t i = 0; i < pixelTotal; ++i)
            check(withinBlend(target[i], bound), "twirl blends the texture");
        int32_t centre = (side / 2) * side + side / 2;
        check(target[centre] == (before[centre] & colour), "twirl keeps the centre");
        if (a[0] == 0) {
            // Only the polar round trip's rounding: at most one step lower.
            for (int32_t i = 0; i < pixelTotal; ++i)
                for (uint32_t c = 0; c < 3; ++c) {
                    int64_t drop = (int64_t)channelOf(before[i], c) - channelOf(target[i], c);
                    check(drop == 0 || drop == 1, "twirl by 0 nearly copies");
                }
        }
        break;
    }
    case OP_MOVE:
        moveTexture(target, side, a[0], a[1]);
        for (uint32_t y = 0; y < (uint32_t)side; ++y)
            for (uint32_t x = 0; x < (uint32_t)side; ++x) {
                // By k = side / 256 times the offsets, wrapping at the side.
                uint32_t k = (uint32_t)side / 256, mask = (uint32_t)side - 1;
                uint32_t sx = (x - (uint32_t)a[0] * k) & mask, sy = (y - (uint32_t)a[1] * k) & mask;
                check(target[y * side + x] == before[sy * side + sx], "move shifts pixels");
            }
        break;
    default:
        break;
    }
}

template <class P> void runColorOp(const Input& in)
{
    const int32_t* a = in.args;
    const Arrays<P> arr = arrays<P>();
    P* target = arr.target;
    const P* before = arr.targetBefore;
    const uint32_t unit = Depth<P>::UNIT;
    switch (in.operation) {
    case OP_COLORIZE: {
        colorizeTexture(target, side, a[0], a[1], a[2], a[3], a[4], a[5]);
        // The result depends on the blue channel alone.
        std::vector<P> byBlue(Depth<P>::MAX + 1);
        std::vector<bool> seen(Depth<P>::MAX + 1);
        for (int32_t i = 0; i < pixelTotal; ++i) {
            uint32_t blue = channelOf(before[i], 0);
            if (!seen[blue]) {
                seen[blue] = true;
                byBlue[blue] = target[i];
            }
            check(target[i] == byBlue[blue], "colorize follows the blue channel");
        }
        bool components = std::all_of(a, a + 6, [](int32_t c) { return c >= 0 && c <= 255; });
        if (components) {
            for (int32_t i = 0; i < pixelTotal; ++i)
                check((target[i] & ~Depth<P>::COLOR_BITS) == 0,
                    "colorize with colours gives colours");
            if (seen[0])
                check(byBlue[0] == composeLevels<P>(a[0] * unit, a[1] * unit, a[2] * unit),
                    "blue 0 gives colour 1");
        }
        break;
    }
    case OP_INVERT:
        invertTexture(target, side);
        for (int32_t i = 0; i < pixelTotal; ++i)
            check(target[i] == (before[i] ^ Depth<P>::COLOR_BITS), "invert flips the channels");
        break;
    case OP_CLEAR: {
        clearTexture(target, side, a[0], a[1], a[2]);
        bool components = std::all_of(a, a + 3, [](int32_t c) { return c >= 0 && c <= 255; });
        for (int32_t i = 0; i < pixelTotal; ++i) {
            check(target[i] == target[0], "clear gives one colour");
            if (components)
                check(target[i] == composeLevels<P>(a[0] * unit, a[1] * unit, a[2] * unit),
                    "clear gives colour 1");
        }
        break;
    }
    default:
        break;
    }
}

namespace {

    // The expected channel of a combiner from a target and a source channel,
    // both 0..most.
    int64_t combinedChannel(
        Operation operation, int64_t t, int64_t s, int32_t balance, int64_t most)
    {
        switch (operation) {
        case OP_ADD:
            return std::min(t + s, most);
        case OP_SUBTRACT:
            return std::max(t - s, (int64_t)0);
        case OP_MIX: {
            int64_t b = std::clamp(balance, 0, 255);
            return (b * t + (256 - b) * s) >> 8;
        }
        default:
            return std::max(t, s);
        }
    }

} // namespace

template <class P> void runCombiner(const Input& in)
{
    const Arrays<P> arr = arrays<P>();
    P* target = arr.target;
    bool same = in.flags & FLAG_SAME_ARRAY;
    const P* from = same ? target : arr.source;
    const P* fromBefore = same ? arr.targetBefore : arr.sourceBefore;
    switch (in.operation) {
    case OP_ADD:
        addTexture(target, from, side);
        break;
    case OP_SUBTRACT:
        subtractTexture(target, from, side);
        break;
    case OP_MIX:
        mixTexture(target, from, side, in.args[0]);
        break;
    case OP_COPY:
        copyTexture(target, from, side);
        break;
    default:
        maxTexture(target, from, side);
        break;
    }
    if (!same)
        check(sameArrays(arr.source, arr.sourceBefore), "the source stays");
    for (int32_t i = 0; i < pixelTotal; ++i) {
        P t = arr.targetBefore[i], s = fromBefore[i];
        if (in.operation == OP_COPY) {
            check(target[i] == s, "copy moves whole pixels");
            continue;
        }
        int64_t c[3];
        for (uint32_t k = 0; k < 3; ++k)
            c[k] = combinedChannel(
                in.operation, channelOf(t, k), channelOf(s, k), in.args[0], Depth<P>::MAX);
        check(target[i] == composeLevels<P>(c[2], c[1], c[0]), "combiner result per channel");
    }
}

#define ENGINE_FUZZ_TRANSFORMS(P)                                                                  \
    template void runWarp<P>(const Input&);                                                        \
    template void runColorOp<P>(const Input&);                                                     \
    template void runCombiner<P>(const Input&);
QUILTOR_FOR_EACH_PIXEL_TYPE(ENGINE_FUZZ_TRANSFORMS)

} // namespace engine_fuzz
