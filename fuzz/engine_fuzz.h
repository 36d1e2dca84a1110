// What the engine fuzzer's parts share: the decoded input, the arrays an
// operation runs on, and the checks of what must hold for any input. The
// entry point (engine_fuzzer.cpp) decodes the input and hands it to one of the
// run functions, one per family of operations, at the input's depth: 8-bit
// Pixels or 16-bit DeepPixels (see texture/depth.h).

#pragma once

#include <cstddef>
#include <cstdint>

#include "texture/depth.h"
#include "texture/texture.h"

namespace engine_fuzz {

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
// The target starts as all empty cells, as the plasma expects.
const uint8_t FLAG_EMPTY_TARGET = 2;
// Arguments reduced to 0..255, the range of a colour component.
const uint8_t FLAG_BYTE_ARGUMENTS = 4;
// Arguments reduced to -128..127, near the panel's ranges.
const uint8_t FLAG_SMALL_ARGUMENTS = 8;
// The texture is 512 x 512 instead of 256 x 256.
const uint8_t FLAG_LARGER_SIDE = 16;
// The texture holds DeepPixels, 16 bits per channel, instead of Pixels.
const uint8_t FLAG_DEEP = 32;

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

// The side of this input's textures, their pixel count and the bytes of one
// pixel.
extern int32_t side;
extern int32_t pixelTotal;
extern size_t pixelBytes;

// The arrays live on the heap, so reads or writes past either end hit the
// address sanitizer's red zones; each is a new array of the input's size and
// depth. The `before` ones keep the arrays as they were.
extern void* targetArray;
extern void* sourceArray;
extern void* targetBeforeArray;
extern void* sourceBeforeArray;

// The arrays as pixels of type P, the input's depth.
template <class P> struct Arrays {
    P* target;
    P* source;
    const P* targetBefore;
    const P* sourceBefore;
};
template <class P> Arrays<P> arrays()
{
    return Arrays<P> { (P*)targetArray, (P*)sourceArray, (const P*)targetBeforeArray,
        (const P*)sourceBeforeArray };
}

size_t arrayBytes();

// Stops the run with a message when a property that holds for every input
// fails; libFuzzer then saves the input.
void check(bool holds, const char* property);

bool sameArrays(const void* a, const void* b);

template <class P> bool isGrey(P p)
{
    return p == greyOf<P>(channelOf(p, 0));
}

template <class P> bool allGrey(const P* pixels)
{
    for (int32_t i = 0; i < pixelTotal; ++i)
        if (!isGrey(pixels[i]))
            return false;
    return true;
}

// The largest value of each channel anywhere in the array, as a pixel.
template <class P> P channelMaxima(const P* pixels)
{
    uint32_t m[3] = { 0, 0, 0 };
    for (int32_t i = 0; i < pixelTotal; ++i)
        for (uint32_t c = 0; c < 3; ++c)
            m[c] = m[c] > channelOf(pixels[i], c) ? m[c] : channelOf(pixels[i], c);
    return composeLevels<P>(m[2], m[1], m[0]);
}

// Every channel of `p` at most that of `bound`, and nothing above the
// colour: what bilinear blending of pixels bounded so can give.
template <class P> bool withinBlend(P p, P bound)
{
    return (p & ~Depth<P>::COLOR_BITS) == 0 && channelOf(p, 0) <= channelOf(bound, 0)
        && channelOf(p, 1) <= channelOf(bound, 1) && channelOf(p, 2) <= channelOf(bound, 2);
}

// Samples the target at (x, y) and checks the sample against its pixels.
template <class P> void checkSample(double x, double y);

// One per family: each runs its operation on the target and checks the result.
template <class P> void runGenerator(const Input& in);
template <class P> void runNumbers(const Input& in);
template <class P> void runWarp(const Input& in);
template <class P> void runColorOp(const Input& in);
template <class P> void runCombiner(const Input& in);

} // namespace engine_fuzz
