// What the engine fuzzer's parts share: the decoded input, the arrays an
// operation runs on, and the checks of what must hold for any input. The
// entry point (engine_fuzzer.cpp) decodes the input and hands it to one of the
// run functions, one per family of operations.

#pragma once

#include <cstddef>
#include <cstdint>

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
// The target starts as all EMPTY_PIXEL, as the plasma expects.
const uint8_t FLAG_EMPTY_TARGET = 2;
// Arguments reduced to 0..255, the range of a colour component.
const uint8_t FLAG_BYTE_ARGUMENTS = 4;
// Arguments reduced to -128..127, near the panel's ranges.
const uint8_t FLAG_SMALL_ARGUMENTS = 8;
// The texture is 512 x 512 instead of 256 x 256.
const uint8_t FLAG_LARGER_SIDE = 16;

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
extern int32_t side;
extern int32_t pixelTotal;

// The arrays live on the heap, so reads or writes past either end hit the
// address sanitizer's red zones; each is a new array of the input's size.
// `before` keep the arrays as they were.
extern Pixel* target;
extern Pixel* source;
extern Pixel* targetBefore;
extern Pixel* sourceBefore;

size_t arrayBytes();

// Stops the run with a message when a property that holds for every input
// fails; libFuzzer then saves the input.
void check(bool holds, const char* property);

int32_t channel(Pixel p, int32_t shift);
bool isGrey(Pixel p);
bool allGrey(const Pixel* pixels);
bool sameArrays(const Pixel* a, const Pixel* b);
// The largest value of each channel anywhere in the array, as a pixel.
Pixel channelMaxima(const Pixel* pixels);
// Every channel of `p` at most that of `bound`, and the top byte 0: what
// bilinear blending of pixels bounded so can give.
bool withinBlend(Pixel p, Pixel bound);
// Samples `target` at (x, y) and checks the sample against its pixels.
void checkSample(double x, double y);

// One per family: each runs its operation on `target` and checks the result.
void runGenerator(const Input& in);
void runNumbers(const Input& in);
void runWarp(const Input& in);
void runColorOp(const Input& in);
void runCombiner(const Input& in);

} // namespace engine_fuzz
