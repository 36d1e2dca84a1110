// The engine fuzzer's runs of the patterns (cells, plasma, pong, sine) and of
// the numbers beneath them: random numbers, torus distances, the plasma's
// edge and centre levels, and bilinear samples.

#include <algorithm>
#include <cstring>

#include "fuzz/engine_fuzz.h"
#include "texture/generators.h"
#include "texture/random.h"
#include "texture/torus.h"

namespace engine_fuzz {

template <class P> void runGenerator(const Input& in)
{
    const int32_t* a = in.args;
    const Arrays<P> arr = arrays<P>();
    P* target = arr.target;
    const P midGrey = greyOf<P>(127 * Depth<P>::UNIT);
    switch (in.operation) {
    case OP_CELLS: {
        generateCells(target, side, a[0], a[1]);
        check(allGrey(target), "cells are grey");
        P first = target[0];
        bool uniform
            = std::all_of(target, target + pixelTotal, [first](P p) { return p == first; });
        bool hasBlack = std::find(target, target + pixelTotal, (P)0) != target + pixelTotal;
        if (a[0] <= 0)
            check(uniform, "no cell points give one shade");
        else
            check(hasBlack, "a cell point is black");
        break;
    }
    case OP_PLASMA: {
        bool emptied = std::all_of(arr.targetBefore, arr.targetBefore + pixelTotal,
            [](P p) { return p == Depth<P>::EMPTY; });
        generatePlasma(target, side, a[0]);
        check(target[0] == midGrey, "plasma starts from mid grey");
        // Cells already set are kept unless they are centres of squares, and
        // every cell is a centre or an edge midpoint of some square.
        for (int32_t i = 0; i < pixelTotal; ++i)
            check(target[i] != Depth<P>::EMPTY, "plasma fills every empty cell");
        if (emptied) {
            check(allGrey(target), "plasma is grey");
            if (a[0] <= 0)
                for (int32_t i = 0; i < pixelTotal; ++i)
                    check(target[i] == midGrey, "plasma without variation is flat");
        }
        break;
    }
    case OP_PLASMA_SUBDIVIDE:
        plasmaSubdivide(target, side, a[0], a[1], a[2], a[3]);
        for (int32_t i = 0; i < pixelTotal; ++i)
            check(target[i] == arr.targetBefore[i] || isGrey(target[i]), "plasma writes grey");
        break;
    case OP_PONG:
        generatePong(target, side, a[0]);
        check(allGrey(target), "pong is grey");
        check(target[(side / 2) * side + side / 2] == Depth<P>::COLOR_BITS,
            "pong is white in the middle");
        break;
    case OP_SINE:
        generateSine(target, side, a[0], a[1]);
        check(allGrey(target), "sine is grey");
        check(std::find(target, target + pixelTotal, (P)0) == target + pixelTotal,
            "sine levels stay above 0");
        break;
    default:
        break;
    }
}

template <class P> void runNumbers(const Input& in)
{
    const int32_t* a = in.args;
    const int32_t most = (int32_t)Depth<P>::MAX;
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
        int32_t v = plasmaEdgeValue(a[0], a[1], a[2], most);
        check(v >= 0 && v <= most, "edge level within 0..MAX");
        if (a[2] <= 0) {
            int64_t mean = ((int64_t)a[0] + a[1]) / 2;
            check(v == std::clamp(mean, (int64_t)0, (int64_t)most) && randomSeed == in.seed,
                "edge without amplitude is the clamped mean");
        }
        break;
    }
    case OP_PLASMA_CENTRE: {
        int32_t v = plasmaCentreValue(a[0], a[1], a[2], a[3], a[4], most);
        check(v >= 0 && v <= most, "centre level within 0..MAX");
        break;
    }
    case OP_SAMPLE_ANY_DOUBLE: {
        // Raw bit patterns: huge, tiny, infinite and NaN positions included.
        double x, y;
        memcpy(&x, a, sizeof(x));
        memcpy(&y, a + 2, sizeof(y));
        checkSample<P>(x, y);
        break;
    }
    case OP_SAMPLE_NEAR:
        // Fixed-point positions with fine fractions around the texture.
        checkSample<P>(a[0] / 65536.0, a[1] / 65536.0);
        break;
    default:
        break;
    }
}

#define ENGINE_FUZZ_GENERATORS(P)                                                                  \
    template void runGenerator<P>(const Input&);                                                   \
    template void runNumbers<P>(const Input&);
QUILTOR_FOR_EACH_PIXEL_TYPE(ENGINE_FUZZ_GENERATORS)

} // namespace engine_fuzz
