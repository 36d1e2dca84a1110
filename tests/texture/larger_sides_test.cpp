// The operations on textures larger than the window's, mostly at 512 x 512
// (k = 2): each against its rule written the plain way, the properties that
// tie a larger texture to the 256 x 256 one, and the same bits with any
// number of threads.

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

#include "reference_generators.h"
#include "reference_ops.h"
#include "tests/support/random_texture.h"
#include "texture/color_ops.h"
#include "texture/combiners.h"
#include "texture/generators.h"
#include "texture/parallel.h"
#include "texture/random.h"
#include "texture/torus.h"
#include "texture/warps.h"

namespace {

using testsupport::randomTexture;

const int32_t SIDE = 512;

std::vector<Pixel> emptyTexture(int32_t side = SIDE)
{
    return std::vector<Pixel>((size_t)side * side, EMPTY_PIXEL);
}

Pixel at(const std::vector<Pixel>& pixels, int32_t side, int32_t x, int32_t y)
{
    return pixels[(size_t)(y & (side - 1)) * side + (x & (side - 1))];
}

// Runs a generator on an empty texture from `seed`; returns the pixels and
// leaves the generator where the run left it.
template <class Generate>
std::vector<Pixel> generated(uint32_t seed, const Generate& generate, int32_t side = SIDE)
{
    std::vector<Pixel> pixels = emptyTexture(side);
    randomSeed = seed;
    generate(pixels.data());
    return pixels;
}

// Expects the engine's and the plain version's pixels and random numbers to agree.
template <class Engine, class Plain>
void expectAgreement(uint32_t seed, const Engine& engine, const Plain& plain, int32_t side = SIDE)
{
    std::vector<Pixel> fast = generated(seed, engine, side);
    uint32_t fastSeed = randomSeed;
    std::vector<Pixel> slow = generated(seed, plain, side);
    ASSERT_EQ(fastSeed, randomSeed);
    ASSERT_TRUE(fast == slow);
}

TEST(LargerSides, GeneratorsFollowTheirRules)
{
    const int32_t cells[][3] = { { 1, 20, 50 }, { 77, 1, 5 }, { 5, 0, 100 }, { 9, 30, 200 },
        { 123, 99, 200 }, { 3, 12, 181 } };
    for (const int32_t* c : cells) {
        SCOPED_TRACE(testing::Message() << "cells " << c[0] << " " << c[1] << " " << c[2]);
        expectAgreement((uint32_t)c[0], [&](Pixel* p) { generateCells(p, SIDE, c[1], c[2]); },
            [&](Pixel* p) { referenceCells(p, SIDE, c[1], c[2]); });
    }
    for (int32_t size : { 5, 64, 128, 181, 256 }) {
        SCOPED_TRACE(testing::Message() << "pong " << size);
        expectAgreement(
            1, [&](Pixel* p) { generatePong(p, SIDE, size); },
            [&](Pixel* p) { referencePong(p, SIDE, size); });
    }
    const int32_t sines[][2] = { { 0, 0 }, { 5, 7 }, { 99, 1 }, { -3, 40 } };
    for (const int32_t* w : sines) {
        SCOPED_TRACE(testing::Message() << "sine " << w[0] << " " << w[1]);
        expectAgreement(
            1, [&](Pixel* p) { generateSine(p, SIDE, w[0], w[1]); },
            [&](Pixel* p) { referenceSine(p, SIDE, w[0], w[1]); });
    }
}

// Depth first with every midpoint tested, against a level at a time; at
// 1024 (k = 4) there are two levels below the 256 plasma's squares.
TEST(LargerSides, PlasmaFollowsItsRules)
{
    const int32_t runs[][3] = { { 1, 20, SIDE }, { 716357048, 1, SIDE }, { 99, 4, SIDE },
        { 5, 100, SIDE }, { 1, 20, 1024 }, { 31, 3, 1024 } };
    for (const int32_t* run : runs) {
        SCOPED_TRACE(testing::Message()
            << "seed " << run[0] << " variation " << run[1] << " side " << run[2]);
        expectAgreement((uint32_t)run[0], [&](Pixel* p) { generatePlasma(p, run[2], run[1]); },
            [&](Pixel* p) { referencePlasma(p, run[2], run[1]); }, run[2]);
    }
}

// The squares the 256 plasma has are drawn as its own: every k-th pixel of
// the larger plasma is its pixel, with the same 65,535 random numbers. The
// sine is the same function of x / side at every side.
TEST(LargerSides, PlasmaAndSineHoldTheWindowTextureOnTheirLattice)
{
    for (uint32_t seed : { 1u, 4242u }) {
        std::vector<Pixel> small = generated(
            seed, [](Pixel* p) { generatePlasma(p, 256, 20); }, 256);
        uint32_t smallSeed = randomSeed;
        std::vector<Pixel> large = generated(seed, [](Pixel* p) { generatePlasma(p, SIDE, 20); });
        EXPECT_EQ(randomSeed, smallSeed) << "the same random numbers";
        for (int32_t y = 0; y < 256; ++y)
            for (int32_t x = 0; x < 256; ++x)
                ASSERT_EQ(at(large, SIDE, 2 * x, 2 * y), at(small, 256, x, y)) << x << "," << y;
    }
    std::vector<Pixel> small = generated(
        1, [](Pixel* p) { generateSine(p, 256, 5, 7); }, 256);
    std::vector<Pixel> large = generated(1, [](Pixel* p) { generateSine(p, SIDE, 5, 7); });
    for (int32_t y = 0; y < 256; ++y)
        for (int32_t x = 0; x < 256; ++x)
            ASSERT_EQ(at(large, SIDE, 2 * x, 2 * y), at(small, 256, x, y)) << x << "," << y;
}

// Pixel (1, 0) is the top midpoint of the first square of side 2, which
// the 256 plasma does not have: its offset is mix64 of the first seed and
// its index, modulo the amplitude (2 x variation) / 2.
TEST(LargerSides, PlasmaFineLevelsAverageRoundedAndCentreTheirOffsets)
{
    EXPECT_EQ(mix64(0), 0xE220A8397B1DCDAFull) << "the SplitMix64 finaliser";
    const uint32_t seed = 1;
    const int32_t variation = 37;
    std::vector<Pixel> pixels
        = generated(seed, [&](Pixel* p) { generatePlasma(p, SIDE, variation); });
    auto level = [&](int32_t x, int32_t y) { return (int32_t)(at(pixels, SIDE, x, y) & 255); };
    // Amplitude (2 x 37) / 2 = 37: offsets h mod 37 - 18, centred on zero.
    auto offset = [&](int32_t x, int32_t y) {
        return (int32_t)(mix64(((uint64_t)seed << 32) | (uint64_t)(y * SIDE + x)) % 37) - 18;
    };
    // A centre from its four corners, across the wrap at the top-left.
    int32_t corners = level(510, 510) + level(0, 510) + level(510, 0) + level(0, 0);
    EXPECT_EQ(level(511, 511), std::clamp(((corners + 2) >> 2) + offset(511, 511), 0, 255));
    // An edge from the corners beside it and the centres above and below,
    // written after those centres.
    int32_t around = level(0, 0) + level(2, 0) + level(1, 511) + level(1, 1);
    EXPECT_EQ(level(1, 0), std::clamp(((around + 2) >> 2) + offset(1, 0), 0, 255));
    around = level(0, 0) + level(0, 2) + level(511, 1) + level(1, 1);
    EXPECT_EQ(level(0, 1), std::clamp(((around + 2) >> 2) + offset(0, 1), 0, 255));
    // Variation 1 gives amplitude 1 there, so no offset: the rounded mean alone.
    pixels = generated(seed, [](Pixel* p) { generatePlasma(p, SIDE, 1); });
    around = level(0, 0) + level(2, 0) + level(1, 511) + level(1, 1);
    EXPECT_EQ(level(1, 0), (around + 2) >> 2);
}

TEST(LargerSides, DistancesSpanTheLargerTorus)
{
    EXPECT_EQ(torusDistance(SIDE, 0, 0, 511, 511), 1);
    EXPECT_EQ(torusDistance(SIDE, 0, 0, 256, 256), 362);
    EXPECT_EQ(torusDistance(SIDE, 0, 0, 257, 0), 255);
    EXPECT_EQ(torusDistance(SIDE, 0, 0, 256, 0), 256);
    EXPECT_EQ(torusDistance(SIDE, 0, 0, 128, 0), 128) << "no fold below half the side";
    EXPECT_EQ(torusDistance(SIDE, 3, 4, 515, 516), 0) << "coordinates wrap at 512";
}

TEST(LargerSides, WarpsFollowTheirRules)
{
    const std::vector<Pixel> source = randomTexture(7, SIDE);
    // Move shifts by k times its offsets.
    std::vector<Pixel> moved = source;
    ASSERT_TRUE(moveTexture(moved.data(), SIDE, 3, -128));
    for (int32_t y = 0; y < SIDE; y += 7)
        for (int32_t x = 0; x < SIDE; ++x)
            ASSERT_EQ(at(moved, SIDE, x, y), at(source, SIDE, x - 6, y + 256)) << x << "," << y;
    for (int32_t dx : { -128, 1, 100 }) {
        std::vector<Pixel> fast = source, slow = source;
        ASSERT_TRUE(moveTexture(fast.data(), SIDE, dx, 7));
        reference::moveTexture(slow.data(), SIDE, dx, 7);
        ASSERT_TRUE(fast == slow) << dx;
    }
    const int32_t deforms[][4] = { { 3, 10, 4, 10 }, { 1, 256, 0, 0 }, { 100, 3, 7, 200 } };
    for (const int32_t* d : deforms) {
        std::vector<Pixel> fast = source, slow = source;
        ASSERT_TRUE(deformTexture(fast.data(), SIDE, d[0], d[1], d[2], d[3]));
        reference::deformTexture(slow.data(), SIDE, d[0], d[1], d[2], d[3]);
        ASSERT_TRUE(fast == slow) << d[0] << " " << d[1] << " " << d[2] << " " << d[3];
    }
    for (int32_t direction : { 64, -40, 0, 128 }) {
        std::vector<Pixel> fast = source, slow = source;
        ASSERT_TRUE(twirlTexture(fast.data(), SIDE, direction));
        reference::twirlTexture(slow.data(), SIDE, direction);
        ASSERT_TRUE(fast == slow) << direction;
    }
    std::vector<Pixel> edge(SIDE * SIDE, 0);
    edge[9 * SIDE + 511] = 0x0A0A0A;
    edge[9 * SIDE + 0] = 0x0B0B0B;
    EXPECT_EQ(sampleBilinear(edge.data(), SIDE, 511.5, 9), 0x0A0A0Au) << "blends across the edge";
    EXPECT_EQ(sampleBilinear(edge.data(), SIDE, -0.5, 9), 0x0A0A0Au);
}

TEST(LargerSides, CombinersAndColoursFollowTheirRules)
{
    const std::vector<Pixel> target = randomTexture(8, SIDE), source = randomTexture(9, SIDE);
    auto expectSame = [&](const std::vector<Pixel>& fast, const std::vector<Pixel>& slow,
                          const char* what) { EXPECT_TRUE(fast == slow) << what; };
    std::vector<Pixel> fast = target, slow = target;
    addTexture(fast.data(), source.data(), SIDE);
    reference::addTexture(slow.data(), source.data(), SIDE);
    expectSame(fast, slow, "add");
    fast = slow = target;
    subtractTexture(fast.data(), source.data(), SIDE);
    reference::subtractTexture(slow.data(), source.data(), SIDE);
    expectSame(fast, slow, "sub");
    fast = slow = target;
    mixTexture(fast.data(), source.data(), SIDE, 100);
    reference::mixTexture(slow.data(), source.data(), SIDE, 100);
    expectSame(fast, slow, "mix");
    fast = slow = target;
    maxTexture(fast.data(), source.data(), SIDE);
    reference::maxTexture(slow.data(), source.data(), SIDE);
    expectSame(fast, slow, "max");
    fast = target;
    copyTexture(fast.data(), source.data(), SIDE);
    expectSame(fast, source, "copy");
    fast = slow = target;
    colorizeTexture(fast.data(), SIDE, 255, 0, 0, 0, 255, 255);
    reference::colorizeTexture(slow.data(), SIDE, 255, 0, 0, 0, 255, 255);
    expectSame(fast, slow, "colorize");
    fast = target;
    invertTexture(fast.data(), SIDE);
    for (size_t i = 0; i < fast.size(); ++i)
        ASSERT_EQ(fast[i], target[i] ^ 0xFFFFFF) << "invert, pixel " << i;
    clearTexture(fast.data(), SIDE, 1, 2, 3);
    EXPECT_TRUE(std::all_of(fast.begin(), fast.end(), [](Pixel p) { return p == 0x010203; }));
}

// Every operation once on one thread and once split across three, on a
// texture large enough to be split, at either depth: the same bits.
template <class P> void expectThreadsChangeNoBit(int32_t side)
{
    typedef std::vector<P> Texture;
    const Texture start = randomTexture<P>(10, side), other = randomTexture<P>(11, side);
    auto runAll = [&](int32_t threads) {
        setOperationThreads(threads);
        std::vector<Texture> results;
        auto run = [&](auto operation) {
            Texture pixels = start;
            randomSeed = 1;
            operation(pixels.data());
            results.push_back(pixels);
        };
        run([&](P* p) { generateCells(p, side, 40, 60); });
        run([&](P* p) {
            std::fill(p, p + (size_t)side * side, Depth<P>::EMPTY);
            generatePlasma(p, side, 20);
        });
        run([&](P* p) { generatePong(p, side, 100); });
        run([&](P* p) { generateSine(p, side, 5, 7); });
        run([&](P* p) { addTexture(p, other.data(), side); });
        run([&](P* p) { subtractTexture(p, other.data(), side); });
        run([&](P* p) { mixTexture(p, other.data(), side, 77); });
        run([&](P* p) { copyTexture(p, other.data(), side); });
        run([&](P* p) { maxTexture(p, other.data(), side); });
        run([&](P* p) { colorizeTexture(p, side, 10, 20, 30, 200, 100, 0); });
        run([&](P* p) { invertTexture(p, side); });
        run([&](P* p) { clearTexture(p, side, 9, 8, 7); });
        run([&](P* p) { moveTexture(p, side, 5, -9); });
        run([&](P* p) { deformTexture(p, side, 3, 10, 4, 10); });
        run([&](P* p) { twirlTexture(p, side, 64); });
        setOperationThreads(1);
        return results;
    };
    const std::vector<Texture> single = runAll(1), split = runAll(3);
    ASSERT_EQ(single.size(), split.size());
    for (size_t i = 0; i < single.size(); ++i)
        EXPECT_TRUE(single[i] == split[i]) << "operation " << i << " in the panel's order";
}

TEST(LargerSides, ThreadsChangeNoBit)
{
    expectThreadsChangeNoBit<Pixel>(1024);
}

TEST(LargerSides, ThreadsChangeNoBitAtDepth16)
{
    expectThreadsChangeNoBit<DeepPixel>(512);
}

} // namespace
