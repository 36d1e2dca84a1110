// The operations on 16-bit DeepPixels: each against its rule written the
// plain way at 256 x 256 (k = 1) and 512 x 512 (k = 2) from random 16-bit
// inputs, the lattice that ties a larger plasma or sine to the 256 one at
// this depth too, and values worked out by hand: the plasma's fine levels
// and the rules where a level is taken 257 times.

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

#include "reference_generators.h"
#include "reference_ops.h"
#include "tests/support/random_texture.h"
#include "texture/color_ops.h"
#include "texture/combiners.h"
#include "texture/generators.h"
#include "texture/random.h"
#include "texture/warps.h"

namespace {

using testsupport::Noise;
using testsupport::randomTexture;

typedef std::vector<DeepPixel> Deep;

const int32_t SIDES[] = { 256, 512 };
const DeepPixel MID_GREY = 0x7F7F7F7F7F7Full; // 127 x 257 in each channel

Deep emptyTexture(int32_t side)
{
    return Deep((size_t)side * side, Depth<DeepPixel>::EMPTY);
}

DeepPixel at(const Deep& pixels, int32_t side, int32_t x, int32_t y)
{
    return pixels[(size_t)(y & (side - 1)) * side + (x & (side - 1))];
}

// Runs a generator on an empty texture from `seed`; returns the pixels and
// leaves the generator where the run left it.
template <class Generate> Deep generated(uint32_t seed, int32_t side, const Generate& generate)
{
    Deep pixels = emptyTexture(side);
    randomSeed = seed;
    generate(pixels.data());
    return pixels;
}

// Expects the engine's and the plain version's pixels and random numbers to agree.
template <class Engine, class Plain>
void expectAgreement(uint32_t seed, int32_t side, const Engine& engine, const Plain& plain)
{
    Deep fast = generated(seed, side, engine);
    uint32_t fastSeed = randomSeed;
    Deep slow = generated(seed, side, plain);
    ASSERT_EQ(fastSeed, randomSeed);
    ASSERT_TRUE(fast == slow);
}

TEST(Depth16, GeneratorsFollowTheirRules)
{
    for (int32_t side : SIDES) {
        SCOPED_TRACE(testing::Message() << "side " << side);
        // Seed, count, size: 0 points leave the shade of the farthest distance.
        const int32_t cells[][3] = { { 1, 20, 50 }, { 9, 6, 200 }, { 5, 0, 300 } };
        for (const int32_t* c : cells) {
            SCOPED_TRACE(testing::Message() << "cells " << c[1] << " " << c[2]);
            expectAgreement((uint32_t)c[0], side,
                [&](DeepPixel* p) { generateCells(p, side, c[1], c[2]); },
                [&](DeepPixel* p) { referenceCells(p, side, c[1], c[2]); });
        }
        for (int32_t size : { 5, 181 }) {
            SCOPED_TRACE(testing::Message() << "pong " << size);
            expectAgreement(
                1, side, [&](DeepPixel* p) { generatePong(p, side, size); },
                [&](DeepPixel* p) { referencePong(p, side, size); });
        }
        const int32_t sines[][2] = { { 5, 7 }, { 99, 1 }, { -3, 40 } };
        for (const int32_t* w : sines) {
            SCOPED_TRACE(testing::Message() << "sine " << w[0] << " " << w[1]);
            expectAgreement(
                1, side, [&](DeepPixel* p) { generateSine(p, side, w[0], w[1]); },
                [&](DeepPixel* p) { referenceSine(p, side, w[0], w[1]); });
        }
        // Seed, variation: 9,000,000 x 256 saturates the top square's
        // amplitude at the largest int.
        const int32_t plasmas[][2] = { { 1, 20 }, { 716357048, 1 }, { 99, 100 }, { 3, 9000000 } };
        for (const int32_t* v : plasmas) {
            SCOPED_TRACE(testing::Message() << "plasma " << v[0] << " " << v[1]);
            expectAgreement((uint32_t)v[0], side,
                [&](DeepPixel* p) { generatePlasma(p, side, v[1]); },
                [&](DeepPixel* p) { referencePlasma(p, side, v[1]); });
        }
    }
}

// Every k-th pixel of a larger plasma or sine is the 256 one's pixel at
// the same depth, and the plasma draws the same 65,535 numbers; it starts
// from 127 x 257 at (0, 0).
TEST(Depth16, PlasmaAndSineHoldTheWindowTextureOnTheirLattice)
{
    for (int32_t side : { 512, 1024 }) {
        const int32_t k = side / 256;
        for (uint32_t seed : { 1u, 4242u }) {
            Deep small = generated(seed, 256, [](DeepPixel* p) { generatePlasma(p, 256, 20); });
            uint32_t smallSeed = randomSeed;
            Deep large = generated(seed, side, [&](DeepPixel* p) { generatePlasma(p, side, 20); });
            EXPECT_EQ(randomSeed, smallSeed) << side << ": the same random numbers";
            EXPECT_EQ(large[0], MID_GREY);
            for (int32_t y = 0; y < 256; ++y)
                for (int32_t x = 0; x < 256; ++x)
                    ASSERT_EQ(at(large, side, k * x, k * y), at(small, 256, x, y))
                        << side << ": " << x << "," << y;
        }
        Deep small = generated(1, 256, [](DeepPixel* p) { generateSine(p, 256, 5, 7); });
        Deep large = generated(1, side, [&](DeepPixel* p) { generateSine(p, side, 5, 7); });
        for (int32_t y = 0; y < 256; ++y)
            for (int32_t x = 0; x < 256; ++x)
                ASSERT_EQ(at(large, side, k * x, k * y), at(small, 256, x, y))
                    << side << ": " << x << "," << y;
    }
}

// The fine levels' values worked out by hand from their neighbours: the
// rounded average plus mix64 of the first seed and the pixel's index modulo
// 2m + 1, less m, times 257, with m half the 8-bit amplitude (s x variation) / k.
TEST(Depth16, PlasmaFineLevelsAverageRoundedAndCentreTheirOffsets)
{
    const uint32_t seed = 1;
    const int64_t MAX = 65535;
    for (int32_t side : { 512, 1024 }) {
        Deep pixels = generated(seed, side, [&](DeepPixel* p) { generatePlasma(p, side, 37); });
        auto level = [&](int32_t x, int32_t y) { return (int64_t)(at(pixels, side, x, y) & MAX); };
        auto expectFine = [&](int32_t x, int32_t y, int64_t sum, int64_t amplitude) {
            int64_t m = amplitude / 2;
            uint64_t hash = mix64(((uint64_t)seed << 32) | (uint64_t)(y * side + x));
            int64_t offset = ((int64_t)(hash % (uint64_t)(2 * m + 1)) - m) * 257;
            EXPECT_EQ(level(x, y), std::clamp(((sum + 2) >> 2) + offset, (int64_t)0, MAX))
                << side << ": " << x << "," << y;
            EXPECT_EQ(at(pixels, side, x, y), (DeepPixel)level(x, y) * 0x000100010001ull);
        };
        // Squares of side 2: 2 x 37 / k, 37 at k = 2 but 18 at k = 4.
        const int64_t finest = side == 512 ? 37 : 18;
        const int32_t last = side - 1;
        // A centre across the wrap at the top-left, then two edges from the
        // corners beside them and the centres written before them.
        expectFine(last, last,
            level(last - 1, last - 1) + level(0, last - 1) + level(last - 1, 0) + level(0, 0),
            finest);
        expectFine(1, 0, level(0, 0) + level(2, 0) + level(1, last) + level(1, 1), finest);
        expectFine(0, 1, level(0, 0) + level(0, 2) + level(last, 1) + level(1, 1), finest);
        if (side == 1024) {
            // Squares of side 4 come first: 4 x 37 / 4.
            expectFine(2, 2, level(0, 0) + level(4, 0) + level(0, 4) + level(4, 4), 37);
            expectFine(2, 0, level(0, 0) + level(4, 0) + level(2, last - 1) + level(2, 2), 37);
        }
    }
}

// At k = 4 with variation 1 the squares of side 2 have amplitude 2 / 4 =
// 0: every pixel of that level is exactly the rounded average of its
// four neighbours, centres from the corners and edges from the centres.
TEST(Depth16, PlasmaFinestLevelWithoutOffsetsIsTheRoundedAverage)
{
    const int32_t side = 1024;
    Deep pixels = generated(7, side, [](DeepPixel* p) { generatePlasma(p, side, 1); });
    auto level = [&](int32_t x, int32_t y) { return (int64_t)(at(pixels, side, x, y) & 65535); };
    int32_t roundedUp = 0;
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t x = 0; x < side; ++x) {
            if (x % 2 == 0 && y % 2 == 0)
                continue;
            int64_t sum = x % 2 && y % 2
                ? level(x - 1, y - 1) + level(x + 1, y - 1) + level(x - 1, y + 1)
                    + level(x + 1, y + 1)
                : level(x - 1, y) + level(x + 1, y) + level(x, y - 1) + level(x, y + 1);
            ASSERT_EQ(level(x, y), (sum + 2) >> 2) << x << "," << y;
            roundedUp += sum % 4 >= 2;
        }
    }
    EXPECT_GT(roundedUp, 1000) << "averages that truncating would get wrong";
}

TEST(Depth16, WarpsFollowTheirRules)
{
    for (int32_t side : SIDES) {
        SCOPED_TRACE(testing::Message() << "side " << side);
        const Deep source = randomTexture<DeepPixel>(7, side);
        Noise noise(8);
        for (int32_t i = 0; i < 2000; ++i) {
            double x = (noise.next() / 4294967296.0 - 0.5) * 4 * side;
            double y
                = i % 2 ? noise.between(-side, side) + 0.5 : (noise.next() / 4294967296.0) * side;
            ASSERT_EQ(sampleBilinear(source.data(), side, x, y),
                reference::sampleBilinear(source.data(), side, x, y))
                << x << ", " << y;
        }
        const int32_t moves[][2] = { { 3, -128 }, { -128, 7 }, { 100, 1 } };
        for (const int32_t* m : moves) {
            Deep fast = source, slow = source;
            ASSERT_TRUE(moveTexture(fast.data(), side, m[0], m[1]));
            reference::moveTexture(slow.data(), side, m[0], m[1]);
            ASSERT_TRUE(fast == slow) << "move " << m[0] << " " << m[1];
        }
        const int32_t deforms[][4] = { { 3, 10, 4, 10 }, { 100, 3, 7, 200 } };
        for (const int32_t* d : deforms) {
            Deep fast = source, slow = source;
            ASSERT_TRUE(deformTexture(fast.data(), side, d[0], d[1], d[2], d[3]));
            reference::deformTexture(slow.data(), side, d[0], d[1], d[2], d[3]);
            ASSERT_TRUE(fast == slow) << "deform " << d[0] << " " << d[1] << " " << d[2];
        }
        for (int32_t direction : { 64, -40 }) {
            Deep fast = source, slow = source;
            ASSERT_TRUE(twirlTexture(fast.data(), side, direction));
            reference::twirlTexture(slow.data(), side, direction);
            ASSERT_TRUE(fast == slow) << "twirl " << direction;
        }
    }
}

// A 256 texture whose channels take only levels next to where a sum, a
// difference or a level's top bit turns over, so that every channel meets
// every pair of them between target and source; the bits above the colour
// are random.
Deep edgeLevels(bool source)
{
    const uint64_t levels[] = { 0, 1, 0x7FFF, 0x8000, 0x8001, 0xFFFE, 0xFFFF };
    Deep pixels = randomTexture<DeepPixel>(source ? 12 : 11);
    for (size_t i = 0; i < pixels.size(); ++i) {
        // The target's channels take the lowest three base-7 digits of the
        // index, the source's all take the fourth.
        DeepPixel colour = 0;
        for (size_t c = 0, place = 1; c < 3; ++c, place *= 7) {
            size_t digit = source ? i / (7 * 7 * 7) + c : i / place;
            colour |= levels[digit % 7] << (16 * c);
        }
        pixels[i] = (pixels[i] & ~Depth<DeepPixel>::COLOR_BITS) | colour;
    }
    return pixels;
}

TEST(Depth16, CombinersAndColoursFollowTheirRules)
{
    for (int32_t side : { 256, 512, 0 }) {
        SCOPED_TRACE(testing::Message() << "side " << side);
        const Deep target = side ? randomTexture<DeepPixel>(9, side) : edgeLevels(false);
        const Deep source = side ? randomTexture<DeepPixel>(10, side) : edgeLevels(true);
        side = side ? side : 256;
        auto expect = [&](const char* what, const auto& engine, const auto& plain) {
            Deep fast = target, slow = target;
            engine(fast.data());
            plain(slow.data());
            EXPECT_TRUE(fast == slow) << what;
        };
        const DeepPixel* s = source.data();
        expect(
            "add", [&](DeepPixel* t) { addTexture(t, s, side); },
            [&](DeepPixel* t) { reference::addTexture(t, s, side); });
        expect(
            "sub", [&](DeepPixel* t) { subtractTexture(t, s, side); },
            [&](DeepPixel* t) { reference::subtractTexture(t, s, side); });
        for (int32_t balance : { 100, 256 })
            expect(
                "mix", [&](DeepPixel* t) { mixTexture(t, s, side, balance); },
                [&](DeepPixel* t) { reference::mixTexture(t, s, side, balance); });
        expect(
            "max", [&](DeepPixel* t) { maxTexture(t, s, side); },
            [&](DeepPixel* t) { reference::maxTexture(t, s, side); });
        expect(
            "copy", [&](DeepPixel* t) { copyTexture(t, s, side); },
            [&](DeepPixel* t) { std::copy(source.begin(), source.end(), t); });
        const int32_t ramps[][6] = { { 255, 0, 0, 0, 255, 255 }, { 12, 34, 56, 200, 100, 0 } };
        for (const int32_t* c : ramps)
            expect(
                "colorize",
                [&](DeepPixel* t) { colorizeTexture(t, side, c[0], c[1], c[2], c[3], c[4], c[5]); },
                [&](DeepPixel* t) {
                    reference::colorizeTexture(t, side, c[0], c[1], c[2], c[3], c[4], c[5]);
                });
        expect(
            "invert", [&](DeepPixel* t) { invertTexture(t, side); },
            [&](DeepPixel* t) { reference::invertTexture(t, side); });
        expect(
            "clear", [&](DeepPixel* t) { clearTexture(t, side, 1, 128, 255); },
            [&](DeepPixel* t) { reference::clearTexture(t, side, 1, 128, 255); });
    }
}

// One pixel through an operation on a whole 256 texture of it, and a second
// texture of another pixel as the source.
template <class Operation> DeepPixel applied(DeepPixel pixel, DeepPixel other, const Operation& op)
{
    Deep t(65536, pixel), s(65536, other);
    op(t.data(), s.data());
    EXPECT_EQ(t[0], t[65535]);
    return t[0];
}

// Values worked out by hand from the rules, where taking a level on the
// 0..255 scale and multiplying it by 257 afterwards, a mask or a cap of 8
// bits, or dropping or keeping the wrong bits above the colour gives another
// number.
TEST(Depth16, ColourRulesByHand)
{
    auto ramp = [](DeepPixel pixel) {
        return applied(pixel, 0, [](DeepPixel* t, const DeepPixel*) {
            colorizeTexture(t, 256, 255, 0, 0, 0, 255, 255); // the start-up colours
        });
    };
    EXPECT_EQ(ramp(0x000000000000ull), 0xFFFF00000000ull);
    EXPECT_EQ(ramp(0xABCD123456788000ull), 0x7FFF7FFF7FFFull) << "blue 32768 alone counts";
    EXPECT_EQ(ramp(0x00000000FFFFull), 0x0000FFFEFFFEull) << "65535 x 65535 >> 16";
    EXPECT_EQ(
        applied(Depth<DeepPixel>::EMPTY, 0,
            [](DeepPixel* t, const DeepPixel*) { colorizeTexture(t, 256, 12, 34, 56, 1, 2, 3); }),
        0x0C0C22223838ull)
        << "an empty cell becomes colour 1 x 257";
    auto clear = [](int32_t r, int32_t g, int32_t b) {
        return applied(0xFFFF000000000000ull, 0,
            [&](DeepPixel* t, const DeepPixel*) { clearTexture(t, 256, r, g, b); });
    };
    EXPECT_EQ(clear(1, 2, 3), 0x010102020303ull);
    EXPECT_EQ(clear(255, 0, 128), 0xFFFF00008080ull);
    auto invert = [](DeepPixel pixel) {
        return applied(pixel, 0, [](DeepPixel* t, const DeepPixel*) { invertTexture(t, 256); });
    };
    EXPECT_EQ(invert(Depth<DeepPixel>::EMPTY), 0x8000FFFFFFFFFFFFull) << "keeps the top bit";
    EXPECT_EQ(invert(0x1234000080FFFF00ull), 0x1234FFFF7F0000FFull);
}

TEST(Depth16, CombinerRulesByHand)
{
    auto add = [](DeepPixel* t, const DeepPixel* s) { addTexture(t, s, 256); };
    EXPECT_EQ(applied(0xFFFF1234FFF00100ull, 0x00000001002000FFull, add), 0x1235FFFF01FFull);
    EXPECT_EQ(applied(0x0000FF0080000100ull, 0x0000FF007FFFFF00ull, add), 0xFFFFFFFFFFFFull)
        << "capped at 65535";
    auto sub = [](DeepPixel* t, const DeepPixel* s) { subtractTexture(t, s, 256); };
    EXPECT_EQ(applied(0x800001000050FFFFull, 0x0000008000510001ull, sub), 0x00800000FFFEull);
    auto mix = [](int32_t balance) {
        return [balance](DeepPixel* t, const DeepPixel* s) { mixTexture(t, s, 256, balance); };
    };
    EXPECT_EQ(applied(0xFFFF00000001ull, 0x0000FFFF0003ull, mix(128)), 0x7FFF7FFF0002ull);
    EXPECT_EQ(applied(0xFFFFFFFFFFFFull, 0, mix(256)), 0xFEFFFEFFFEFFull) << "256 acts as 255";
    auto max = [](DeepPixel* t, const DeepPixel* s) { maxTexture(t, s, 256); };
    EXPECT_EQ(applied(0x000180000000FFFFull, 0x00007FFFFFFF0100ull, max), 0x8000FFFFFFFFull);
    auto copy = [](DeepPixel* t, const DeepPixel* s) { copyTexture(t, s, 256); };
    EXPECT_EQ(applied(0, 0xDEAD000000000001ull, copy), 0xDEAD000000000001ull);
}

TEST(Depth16, GeneratorAndSampleRulesByHand)
{
    const int32_t side = 256;
    auto pixelAt = [&](const Deep& pixels, int32_t x, int32_t y) { return at(pixels, side, x, y); };
    // (int)((64 + 127.5) x 257): the level is truncated after the unit.
    Deep sine = generated(1, side, [](DeepPixel* p) { generateSine(p, 256, 1, 0); });
    EXPECT_EQ(pixelAt(sine, 64, 9), 0xC03FC03FC03Full);
    EXPECT_EQ(pixelAt(sine, 0, 0), 0x808080808080ull);
    // White at the centre; at 64 of 128, 65535 - (64 x 65535) / 128.
    Deep pong = generated(1, side, [](DeepPixel* p) { generatePong(p, 256, 128); });
    EXPECT_EQ(pixelAt(pong, 128, 128), 0xFFFFFFFFFFFFull);
    EXPECT_EQ(pixelAt(pong, 192, 128), 0x800080008000ull);
    EXPECT_EQ(pixelAt(pong, 0, 0), 0u);
    // One point, drawn x then y: black on it, (25 x 65535) / 50 at 25, white
    // beyond the size.
    randomSeed = 77;
    int32_t px = (int32_t)randomNumber(256), py = (int32_t)randomNumber(256);
    Deep cells = generated(77, side, [](DeepPixel* p) { generateCells(p, 256, 1, 50); });
    EXPECT_EQ(pixelAt(cells, px, py), 0u);
    EXPECT_EQ(pixelAt(cells, px + 25, py), 0x7FFF7FFF7FFFull);
    EXPECT_EQ(pixelAt(cells, px, py + 128), 0xFFFFFFFFFFFFull);
    // Halfway between two pixels each channel is truncated: 32767.5 and 10.5.
    Deep row(65536, 0);
    row[3 * 256 + 255] = 0xFFFF0000000Aull;
    row[3 * 256 + 0] = 0xFFFF0000FFFF000Bull;
    EXPECT_EQ(sampleBilinear(row.data(), side, -0.5, 3), 0x7FFF7FFF000Aull)
        << "nothing above the colour";
}

} // namespace
