// The engine fuzzer's runs of the operations that rework a texture's pixels:
// the warps, the colour operations and the combiners.

#include <algorithm>

#include "fuzz/engine_fuzz.h"
#include "texture/color_ops.h"
#include "texture/combiners.h"
#include "texture/warps.h"

namespace engine_fuzz {

void runWarp(const Input& in)
{
    const int32_t* a = in.args;
    Pixel bound = channelMaxima(targetBefore);
    switch (in.operation) {
    case OP_DEFORM: {
        deformTexture(target, side, a[0], a[1], a[2], a[3]);
        bool still = (a[0] == 0 || a[1] == 0) && (a[2] == 0 || a[3] == 0);
        for (int32_t i = 0; i < pixelTotal; ++i) {
            check(withinBlend(target[i], bound), "deform blends the texture");
            if (still)
                check(target[i] == (targetBefore[i] & 0xFFFFFF), "deform without waves copies");
        }
        break;
    }
    case OP_TWIRL:
        twirlTexture(target, side, a[0]);
        for (int32_t i = 0; i < pixelTotal; ++i)
            check(withinBlend(target[i], bound), "twirl blends the texture");
        check(target[(side / 2) * side + side / 2]
                == (targetBefore[(side / 2) * side + side / 2] & 0xFFFFFF),
            "twirl keeps the centre");
        if (a[0] == 0) {
            // Only the polar round trip's rounding: at most one step lower.
            for (int32_t i = 0; i < pixelTotal; ++i)
                for (int32_t shift = 0; shift < 24; shift += 8) {
                    int32_t drop = channel(targetBefore[i], shift) - channel(target[i], shift);
                    check(drop == 0 || drop == 1, "twirl by 0 nearly copies");
                }
        }
        break;
    case OP_MOVE:
        moveTexture(target, side, a[0], a[1]);
        for (uint32_t y = 0; y < (uint32_t)side; ++y)
            for (uint32_t x = 0; x < (uint32_t)side; ++x) {
                // By k = side / 256 times the offsets, wrapping at the side.
                uint32_t k = (uint32_t)side / 256, mask = (uint32_t)side - 1;
                uint32_t sx = (x - (uint32_t)a[0] * k) & mask, sy = (y - (uint32_t)a[1] * k) & mask;
                check(target[y * side + x] == targetBefore[sy * side + sx], "move shifts pixels");
            }
        break;
    default:
        break;
    }
}

void runColorOp(const Input& in)
{
    const int32_t* a = in.args;
    switch (in.operation) {
    case OP_COLORIZE: {
        colorizeTexture(target, side, a[0], a[1], a[2], a[3], a[4], a[5]);
        // The result depends on the blue channel alone.
        Pixel byBlue[256];
        bool seen[256] = {};
        for (int32_t i = 0; i < pixelTotal; ++i) {
            int32_t blue = channel(targetBefore[i], 0);
            if (!seen[blue]) {
                seen[blue] = true;
                byBlue[blue] = target[i];
            }
            check(target[i] == byBlue[blue], "colorize follows the blue channel");
        }
        bool components = std::all_of(a, a + 6, [](int32_t c) { return c >= 0 && c <= 255; });
        if (components) {
            for (int32_t i = 0; i < pixelTotal; ++i)
                check(target[i] >> 24 == 0, "colorize with colours gives colours");
            if (seen[0])
                check(byBlue[0] == composeColor(a[0], a[1], a[2]), "blue 0 gives colour 1");
        }
        break;
    }
    case OP_INVERT:
        invertTexture(target, side);
        for (int32_t i = 0; i < pixelTotal; ++i)
            check(target[i] == (targetBefore[i] ^ 0xFFFFFF), "invert flips the channels");
        break;
    case OP_CLEAR: {
        clearTexture(target, side, a[0], a[1], a[2]);
        bool components = std::all_of(a, a + 3, [](int32_t c) { return c >= 0 && c <= 255; });
        for (int32_t i = 0; i < pixelTotal; ++i) {
            check(target[i] == target[0], "clear gives one colour");
            if (components)
                check(target[i] == composeColor(a[0], a[1], a[2]), "clear gives colour 1");
        }
        break;
    }
    default:
        break;
    }
}

namespace {

    // The expected channel of a combiner from a target and a source channel.
    int32_t combinedChannel(Operation operation, int32_t t, int32_t s, int32_t balance)
    {
        switch (operation) {
        case OP_ADD:
            return std::min(t + s, 255);
        case OP_SUBTRACT:
            return std::max(t - s, 0);
        case OP_MIX: {
            int32_t b = std::clamp(balance, 0, 255);
            return (b * t + (256 - b) * s) >> 8;
        }
        default:
            return std::max(t, s);
        }
    }

} // namespace

void runCombiner(const Input& in)
{
    bool same = in.flags & FLAG_SAME_ARRAY;
    const Pixel* from = same ? target : source;
    const Pixel* fromBefore = same ? targetBefore : sourceBefore;
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
        check(sameArrays(source, sourceBefore), "the source stays");
    for (int32_t i = 0; i < pixelTotal; ++i) {
        Pixel t = targetBefore[i], s = fromBefore[i];
        if (in.operation == OP_COPY) {
            check(target[i] == s, "copy moves whole pixels");
            continue;
        }
        Pixel expected = 0;
        for (int32_t shift = 0; shift < 24; shift += 8)
            expected |= (Pixel)combinedChannel(
                            in.operation, channel(t, shift), channel(s, shift), in.args[0])
                << shift;
        check(target[i] == expected, "combiner result per channel");
    }
}

} // namespace engine_fuzz
