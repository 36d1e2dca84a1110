// Feeds every texture operation arbitrary pixel arrays and arbitrary
// arguments, and checks what must hold for any of them. Built with libFuzzer
// and the address and undefined-behaviour sanitizers, so any out-of-bounds
// access or undefined arithmetic is caught as well.
//
// Input layout (missing bytes read as 0):
//   byte 0       operation, modulo the number of operations
//   byte 1       flags: see the FLAG_ constants
//   bytes 2-5    randomSeed, little-endian
//   bytes 6-29   six 32-bit arguments, little-endian
//   the rest     pixel bytes, repeated to fill the target; the source is the
//                same bytes repeated from half-way through

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "texture/color_ops.h"
#include "texture/combiners.h"
#include "texture/generators.h"
#include "texture/random.h"
#include "texture/texture.h"
#include "texture/torus.h"
#include "texture/warps.h"

namespace {

enum Operation {
    OP_RANDOM_NUMBER,
    OP_TORUS_DISTANCE,
    OP_CELLS,
    OP_PLASMA,
    OP_PLASMA_SUBDIVIDE,
    OP_PLASMA_EDGE,
    OP_PLASMA_CENTRE,
    OP_PONG,
    OP_SINE,
    OP_SAMPLE_ANY_DOUBLE,
    OP_SAMPLE_NEAR,
    OP_DEFORM,
    OP_TWIRL,
    OP_MOVE,
    OP_COLORIZE,
    OP_INVERT,
    OP_CLEAR,
    OP_ADD,
    OP_SUBTRACT,
    OP_MIX,
    OP_COPY,
    OP_MAX,
    OPERATION_COUNT
};

// The combiners get the target as their source too.
const uint8_t FLAG_SAME_ARRAY = 1;
// The target starts as all EMPTY_PIXEL, as the plasma expects.
const uint8_t FLAG_EMPTY_TARGET = 2;
// Arguments reduced to 0..255, the range of a colour component.
const uint8_t FLAG_BYTE_ARGUMENTS = 4;
// Arguments reduced to -128..127, near the panel's ranges.
const uint8_t FLAG_SMALL_ARGUMENTS = 8;

// The texture is 512 x 512 instead of 256 x 256.
const uint8_t FLAG_LARGER_SIDE = 16;

const size_t HEADER_SIZE = 30;
const int32_t ARGUMENT_COUNT = 6;
const uint32_t RANDOM_MODULUS = 950706376u;

struct Input {
    Operation operation;
    uint8_t flags;
    uint32_t seed;
    int32_t args[ARGUMENT_COUNT];
    const uint8_t* payload;
    size_t payloadSize;
};

// The side of this input's textures and their pixel count.
int32_t side = TEXTURE_SIZE;
int32_t pixelTotal = TEXTURE_PIXEL_COUNT;

size_t arrayBytes()
{
    return (size_t)pixelTotal * sizeof(Pixel);
}

// The arrays live on the heap, so reads or writes past either end hit the
// address sanitizer's red zones; each is a new array of the input's size.
// `before` keep the arrays as they were.
Pixel* target = nullptr;
Pixel* source = nullptr;
Pixel* targetBefore = nullptr;
Pixel* sourceBefore = nullptr;

// Stops the run with a message when a property that holds for every input
// fails; libFuzzer then saves the input.
void check(bool holds, const char* property)
{
    if (holds)
        return;
    fprintf(stderr, "engine_fuzzer: violated: %s\n", property);
    __builtin_trap();
}

Input parseInput(const uint8_t* data, size_t size)
{
    uint8_t header[HEADER_SIZE] = {};
    memcpy(header, data, std::min(size, HEADER_SIZE));
    Input input;
    input.operation = (Operation)(header[0] % OPERATION_COUNT);
    input.flags = header[1];
    memcpy(&input.seed, header + 2, 4);
    memcpy(input.args, header + 6, sizeof(input.args));
    for (int32_t& arg : input.args) {
        if (input.flags & FLAG_BYTE_ARGUMENTS)
            arg &= 255;
        else if (input.flags & FLAG_SMALL_ARGUMENTS)
            arg = (int8_t)arg;
    }
    input.payload = size > HEADER_SIZE ? data + HEADER_SIZE : nullptr;
    input.payloadSize = size > HEADER_SIZE ? size - HEADER_SIZE : 0;
    return input;
}

// Fills a whole array with the bytes repeated, starting at `offset`; no bytes
// give a black array.
void fillArray(Pixel* pixels, const uint8_t* bytes, size_t count, size_t offset)
{
    uint8_t* out = (uint8_t*)pixels;
    if (count == 0) {
        memset(out, 0, arrayBytes());
        return;
    }
    size_t filled = std::min(count, arrayBytes());
    for (size_t i = 0; i < filled; ++i)
        out[i] = bytes[(i + offset) % count];
    // Doubling keeps the period, since `filled` stays a multiple of `count`.
    while (filled < arrayBytes()) {
        size_t chunk = std::min(filled, arrayBytes() - filled);
        memcpy(out + filled, out, chunk);
        filled += chunk;
    }
}

bool drawsRandomNumbers(Operation operation)
{
    return operation == OP_RANDOM_NUMBER || operation == OP_CELLS || operation == OP_PLASMA
        || operation == OP_PLASMA_SUBDIVIDE || operation == OP_PLASMA_EDGE
        || operation == OP_PLASMA_CENTRE;
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

// The largest value of each channel anywhere in the array, as a pixel.
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

// Every channel of `p` at most that of `bound`, and the top byte 0: what
// bilinear blending of pixels bounded so can give.
bool withinBlend(Pixel p, Pixel bound)
{
    return p >> 24 == 0 && channel(p, 0) <= channel(bound, 0) && channel(p, 8) <= channel(bound, 8)
        && channel(p, 16) <= channel(bound, 16);
}

// The wrapped cell of a whole-number coordinate, or -1 if it is not one.
int32_t wholeCell(double v)
{
    if (!std::isfinite(v) || std::floor(v) != v)
        return -1;
    double cell = std::fmod(v, (double)side); // exact
    return (int32_t)(cell < 0 ? cell + side : cell);
}

void checkSample(double x, double y)
{
    Pixel p = sampleBilinear(target, side, x, y);
    check(withinBlend(p, channelMaxima(target)), "sample is a blend of the texture");
    int32_t cellX = wholeCell(x), cellY = wholeCell(y);
    if (cellX >= 0 && cellY >= 0)
        check(p == (target[cellY * side + cellX] & 0xFFFFFF), "sample at whole numbers is a pixel");
}

void runGenerator(const Input& in)
{
    const int32_t* a = in.args;
    switch (in.operation) {
    case OP_CELLS: {
        generateCells(target, side, a[0], a[1]);
        check(allGrey(target), "cells are grey");
        bool uniform
            = std::all_of(target, target + pixelTotal, [](Pixel p) { return p == target[0]; });
        bool hasBlack = std::find(target, target + pixelTotal, 0u) != target + pixelTotal;
        if (a[0] <= 0)
            check(uniform, "no cell points give one shade");
        else
            check(hasBlack, "a cell point is black");
        break;
    }
    case OP_PLASMA: {
        bool emptied = std::all_of(
            targetBefore, targetBefore + pixelTotal, [](Pixel p) { return p == EMPTY_PIXEL; });
        generatePlasma(target, side, a[0]);
        check(target[0] == 0x7F7F7F, "plasma starts from mid grey");
        // Cells already set are kept unless they are centres of squares, and
        // every cell is a centre or an edge midpoint of some square.
        for (int32_t i = 0; i < pixelTotal; ++i)
            check(target[i] != EMPTY_PIXEL, "plasma fills every empty cell");
        if (emptied) {
            check(allGrey(target), "plasma is grey");
            if (a[0] <= 0)
                for (int32_t i = 0; i < pixelTotal; ++i)
                    check(target[i] == 0x7F7F7F, "plasma without variation is flat");
        }
        break;
    }
    case OP_PLASMA_SUBDIVIDE:
        plasmaSubdivide(target, side, a[0], a[1], a[2], a[3]);
        for (int32_t i = 0; i < pixelTotal; ++i)
            check(target[i] == targetBefore[i] || isGrey(target[i]), "plasma writes grey");
        break;
    case OP_PONG:
        generatePong(target, side, a[0]);
        check(allGrey(target), "pong is grey");
        check(target[(side / 2) * side + side / 2] == 0xFFFFFF, "pong is white in the middle");
        break;
    case OP_SINE:
        generateSine(target, side, a[0], a[1]);
        check(allGrey(target), "sine is grey");
        check(std::find(target, target + pixelTotal, 0u) == target + pixelTotal,
            "sine levels stay above 0");
        break;
    default:
        break;
    }
}

void runNumbers(const Input& in)
{
    const int32_t* a = in.args;
    switch (in.operation) {
    case OP_RANDOM_NUMBER: {
        uint32_t n = (uint32_t)a[0];
        uint32_t v = randomNumber(n);
        if (n == 0)
            check(v == 0 && randomSeed == in.seed, "range 0 gives 0 and keeps the seed");
        else
            check(v < n && randomSeed < RANDOM_MODULUS, "random number within range");
        break;
    }
    case OP_TORUS_DISTANCE: {
        int32_t d = torusDistance(side, a[0], a[1], a[2], a[3]);
        // No pixel is farther than half the side along each axis.
        check(d >= 0 && (double)d <= side / 2 * 1.41422 + 0.5, "torus distance within the torus");
        check(d == torusDistance(side, a[2], a[3], a[0], a[1]), "torus distance is symmetric");
        int32_t m = side - 1;
        check(d == torusDistance(side, a[0] & m, a[1] & m, a[2] & m, a[3] & m),
            "torus distance wraps coordinates");
        break;
    }
    case OP_PLASMA_EDGE: {
        int32_t v = plasmaEdgeValue(a[0], a[1], a[2]);
        check(v >= 0 && v <= 255, "edge level within 0..255");
        if (a[2] <= 0) {
            int64_t mean = ((int64_t)a[0] + a[1]) / 2;
            check(v == std::clamp(mean, (int64_t)0, (int64_t)255) && randomSeed == in.seed,
                "edge without amplitude is the clamped mean");
        }
        break;
    }
    case OP_PLASMA_CENTRE: {
        int32_t v = plasmaCentreValue(a[0], a[1], a[2], a[3], a[4]);
        check(v >= 0 && v <= 255, "centre level within 0..255");
        break;
    }
    case OP_SAMPLE_ANY_DOUBLE: {
        // Raw bit patterns: huge, tiny, infinite and NaN positions included.
        double x, y;
        memcpy(&x, a, sizeof(x));
        memcpy(&y, a + 2, sizeof(y));
        checkSample(x, y);
        break;
    }
    case OP_SAMPLE_NEAR:
        // Fixed-point positions with fine fractions around the texture.
        checkSample(a[0] / 65536.0, a[1] / 65536.0);
        break;
    default:
        break;
    }
}

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in = parseInput(data, size);
    side = in.flags & FLAG_LARGER_SIDE ? 2 * TEXTURE_SIZE : TEXTURE_SIZE;
    pixelTotal = side * side;
    for (Pixel** array : { &target, &source, &targetBefore, &sourceBefore }) {
        delete[] * array;
        *array = new Pixel[pixelTotal];
    }
    if (in.flags & FLAG_EMPTY_TARGET)
        std::fill(target, target + pixelTotal, EMPTY_PIXEL);
    else
        fillArray(target, in.payload, in.payloadSize, 0);
    fillArray(source, in.payload, in.payloadSize, in.payloadSize / 2);
    memcpy(targetBefore, target, arrayBytes());
    memcpy(sourceBefore, source, arrayBytes());
    randomSeed = in.seed;

    switch (in.operation) {
    case OP_CELLS:
    case OP_PLASMA:
    case OP_PLASMA_SUBDIVIDE:
    case OP_PONG:
    case OP_SINE:
        runGenerator(in);
        break;
    case OP_RANDOM_NUMBER:
    case OP_TORUS_DISTANCE:
    case OP_PLASMA_EDGE:
    case OP_PLASMA_CENTRE:
    case OP_SAMPLE_ANY_DOUBLE:
    case OP_SAMPLE_NEAR:
        runNumbers(in);
        break;
    case OP_DEFORM:
    case OP_TWIRL:
    case OP_MOVE:
        runWarp(in);
        break;
    case OP_COLORIZE:
    case OP_INVERT:
    case OP_CLEAR:
        runColorOp(in);
        break;
    default:
        runCombiner(in);
        break;
    }
    // The generator only ever advances the seed to a value below its modulus,
    // and only the random patterns draw numbers.
    check(randomSeed == in.seed || randomSeed < RANDOM_MODULUS, "seed stays below the modulus");
    if (!drawsRandomNumbers(in.operation))
        check(randomSeed == in.seed, "only random patterns draw numbers");
    return 0;
}
