// Feeds every texture operation arbitrary pixel arrays and arbitrary
// arguments, and checks what must hold for any of them. Built with libFuzzer
// and the address and undefined-behaviour sanitizers, so any out-of-bounds
// access or undefined arithmetic is caught as well.
//
// Input layout (missing bytes read as 0):
//   byte 0       operation, modulo the number of operations
//   byte 1       flags: see the FLAG_ constants in engine_fuzz.h; one of them
//                chooses the depth, Pixels or DeepPixels
//   bytes 2-5    randomSeed, little-endian
//   bytes 6-29   six 32-bit arguments, little-endian
//   the rest     pixel bytes, repeated to fill the target; the source is the
//                same bytes repeated from half-way through

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz/engine_fuzz.h"
#include "texture/random.h"

using namespace engine_fuzz;

namespace {

// The operation, flags, seed and arguments before the pixel bytes.
const size_t HEADER_SIZE = 30;

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
void fillArray(void* pixels, const uint8_t* bytes, size_t count, size_t offset)
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

// Runs the input's operation on arrays of pixels of type P, the input's depth.
template <class P> void runAtDepth(const Input& in)
{
    if (in.flags & FLAG_EMPTY_TARGET)
        std::fill((P*)targetArray, (P*)targetArray + pixelTotal, Depth<P>::EMPTY);
    else
        fillArray(targetArray, in.payload, in.payloadSize, 0);
    fillArray(sourceArray, in.payload, in.payloadSize, in.payloadSize / 2);
    memcpy(targetBeforeArray, targetArray, arrayBytes());
    memcpy(sourceBeforeArray, sourceArray, arrayBytes());
    randomSeed = in.seed;

    switch (in.operation) {
    case OP_CELLS:
    case OP_PLASMA:
    case OP_PLASMA_SUBDIVIDE:
    case OP_PONG:
    case OP_SINE:
        runGenerator<P>(in);
        break;
    case OP_RANDOM_NUMBER:
    case OP_TORUS_DISTANCE:
    case OP_PLASMA_EDGE:
    case OP_PLASMA_CENTRE:
    case OP_SAMPLE_ANY_DOUBLE:
    case OP_SAMPLE_NEAR:
        runNumbers<P>(in);
        break;
    case OP_DEFORM:
    case OP_TWIRL:
    case OP_MOVE:
        runWarp<P>(in);
        break;
    case OP_COLORIZE:
    case OP_INVERT:
    case OP_CLEAR:
        runColorOp<P>(in);
        break;
    default:
        runCombiner<P>(in);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in = parseInput(data, size);
    side = in.flags & FLAG_LARGER_SIDE ? 2 * TEXTURE_SIZE : TEXTURE_SIZE;
    pixelTotal = side * side;
    withPixelType(in.flags & FLAG_DEEP ? 16 : 8, [&](auto zero) {
        using P = decltype(zero);
        pixelBytes = Depth<P>::BYTES;
        for (void** array :
            { &targetArray, &sourceArray, &targetBeforeArray, &sourceBeforeArray }) {
            free(*array);
            *array = malloc(arrayBytes());
        }
        runAtDepth<P>(in);
    });
    // The generator only ever advances the seed to a value below its modulus,
    // and only the random patterns draw numbers.
    check(randomSeed == in.seed || randomSeed < RANDOM_MODULUS, "seed stays below the modulus");
    if (!drawsRandomNumbers(in.operation))
        check(randomSeed == in.seed, "only random patterns draw numbers");
    return 0;
}
