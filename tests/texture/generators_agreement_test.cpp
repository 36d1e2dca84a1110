// The engine's generators against the straightforward per-pixel versions:
// same pixels, bit for bit, and the same random numbers consumed.

#include <climits>
#include <gtest/gtest.h>
#include <vector>

#include "reference_generators.h"
#include "texture/generators.h"
#include "texture/random.h"

namespace {

// A small generator of test parameters, apart from the tool's own.
struct Parameters {
    uint32_t state;
    int32_t below(int32_t n)
    {
        state = state * 1664525u + 1013904223u;
        return (int32_t)((state >> 8) % (uint32_t)n);
    }
};

void expectSameCells(uint32_t seed, int32_t count, int32_t size)
{
    std::vector<Pixel> fast(65536), plain(65536);
    randomSeed = seed;
    generateCells(fast.data(), TEXTURE_SIZE, count, size);
    uint32_t fastSeed = randomSeed;
    randomSeed = seed;
    referenceCells(plain.data(), TEXTURE_SIZE, count, size);
    ASSERT_EQ(fastSeed, randomSeed) << seed << " " << count << " " << size;
    ASSERT_EQ(fast, plain) << seed << " " << count << " " << size;
}

TEST(GeneratorAgreement, CellsMatchTheDirectVersion)
{
    Parameters parameters { 99 };
    for (int run = 0; run < 200; ++run) {
        uint32_t seed = (uint32_t)parameters.below(950706376);
        int32_t count = parameters.below(run % 10 == 0 ? 120 : 25);
        int32_t size = 1 + parameters.below(300);
        expectSameCells(seed, count, size);
    }
    expectSameCells(1, 20, 50);
    expectSameCells(1, 99, 200);
    expectSameCells(77, 501, 181);
    expectSameCells(5, 0, 300);
    expectSameCells(5, 1, INT_MAX);
}

TEST(GeneratorAgreement, PongMatchesTheDirectVersionForEverySize)
{
    std::vector<Pixel> fast(65536), plain(65536);
    for (int32_t size = 1; size <= 300; ++size) {
        generatePong(fast.data(), TEXTURE_SIZE, size);
        referencePong(plain.data(), TEXTURE_SIZE, size);
        ASSERT_EQ(fast, plain) << size;
    }
    generatePong(fast.data(), TEXTURE_SIZE, INT_MAX);
    referencePong(plain.data(), TEXTURE_SIZE, INT_MAX);
    ASSERT_EQ(fast, plain);
}

TEST(GeneratorAgreement, SineMatchesTheDirectVersion)
{
    std::vector<Pixel> fast(65536), plain(65536);
    Parameters parameters { 4242 };
    for (int run = 0; run < 400; ++run) {
        int32_t wavesX = parameters.below(100);
        int32_t wavesY = parameters.below(100);
        if (run % 8 == 0) // outside the panel's range, including negative
            wavesX = parameters.below(200001) - 100000;
        generateSine(fast.data(), TEXTURE_SIZE, wavesX, wavesY);
        referenceSine(plain.data(), TEXTURE_SIZE, wavesX, wavesY);
        ASSERT_EQ(fast, plain) << wavesX << " " << wavesY;
    }
    const int32_t extremes[] = { INT_MIN, -1, 0, 99, INT_MAX };
    for (int32_t wavesX : extremes) {
        for (int32_t wavesY : extremes) {
            generateSine(fast.data(), TEXTURE_SIZE, wavesX, wavesY);
            referenceSine(plain.data(), TEXTURE_SIZE, wavesX, wavesY);
            ASSERT_EQ(fast, plain) << wavesX << " " << wavesY;
        }
    }
}

} // namespace

namespace {

// The window's plasma has a way of its own; the way for every other side
// must give it the same bits, from empty or partly filled textures.
TEST(GeneratorAgreement, PlasmaOnTheWindowSideMatchesTheWayForAnySide)
{
    Parameters parameters { 777 };
    for (int run = 0; run < 30; ++run) {
        uint32_t seed = 1 + (uint32_t)parameters.below(950706375);
        int32_t variation = run < 25 ? 1 + parameters.below(100) : parameters.below(2000) - 1000;
        std::vector<Pixel> fast(65536, EMPTY_PIXEL), plain(65536, EMPTY_PIXEL);
        if (run % 5 == 4)
            for (int32_t i = 0; i < 65536; i += 1 + parameters.below(50))
                fast[i] = plain[i] = (Pixel)parameters.below(256) * 0x010101u;
        randomSeed = seed;
        generatePlasma(fast.data(), TEXTURE_SIZE, variation);
        uint32_t fastSeed = randomSeed;
        randomSeed = seed;
        generatePlasmaForAnySide(plain.data(), TEXTURE_SIZE, variation);
        ASSERT_EQ(fastSeed, randomSeed) << seed << " " << variation;
        ASSERT_EQ(fast, plain) << seed << " " << variation;
    }
}

} // namespace
