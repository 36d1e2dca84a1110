// The 16-bit plasma against its rule as the recipes' readers are told it,
// written again here from that text alone, without the engine's code or
// traits: on a texture of side N = 256k the squares of side s >= 2k are the
// 256 plasma's squares scaled k times, each value the floored mean of its
// corners plus (randomNumber(A) - A / 2) x U, A = (s / k) x variation
// saturated at the largest int, clamped to 0..MAX; below them, for s = k,
// k/2, .. 2, the centres and then the edges take the rounded average of their
// four neighbours plus ((mix64((s0 << 32) | (y N + x)) mod (2m + 1)) - m) x
// U, m = ((s x variation) / k) / 2. MAX is 65535 and U 257 at 16 bits, 255
// and 1 at 8, where the same text gives the window's plasma.

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <vector>

#include "texture/generators.h"
#include "texture/random.h"

namespace {

// A depth as the rule names it, its pixels as plain 64-bit numbers: a grey
// is the level in each of three channels, an empty cell has the pixel's top
// bit alone.
struct RuleDepth {
    int bits; // per channel
    int64_t max;
    int64_t unit;
    uint64_t empty;
};
const RuleDepth EIGHT = { 8, 255, 1, 0x80000000u };
const RuleDepth SIXTEEN = { 16, 65535, 257, 0x8000000000000000ull };

struct RulePlasma {
    RuleDepth depth;
    int64_t n; // the side
    int64_t k; // n / 256
    int64_t variation;
    uint32_t firstSeed; // s0: the seed when the plasma began
    std::vector<uint64_t> cells;

    uint64_t& cell(int64_t x, int64_t y) { return cells[(size_t)((y % n) * n + x % n)]; }
    int64_t level(int64_t x, int64_t y) { return (int64_t)(cell(x, y) & (uint64_t)depth.max); }
    uint64_t grey(int64_t level) const
    {
        const uint64_t v = (uint64_t)level;
        return v | v << depth.bits | v << (2 * depth.bits);
    }
    int64_t clamped(int64_t v) const { return v < 0 ? 0 : v > depth.max ? depth.max : v; }

    // The coarse rule: a mean displaced by the generator.
    uint64_t displaced(int64_t mean, int64_t s)
    {
        int64_t amplitude = (s / k) * variation;
        if (amplitude > INT_MAX)
            amplitude = INT_MAX;
        const int64_t drawn = (int64_t)randomNumber((uint32_t)amplitude);
        return grey(clamped(mean + (drawn - amplitude / 2) * depth.unit));
    }

    // One square, as the 256 plasma treats it: the corners read first, then
    // the top, left, right and bottom midpoints where still empty, the
    // centre always, then the quadrants depth first.
    void square(int64_t x, int64_t y, int64_t s)
    {
        const int64_t x1 = (x + s) % n, y1 = (y + s) % n, half = s / 2;
        const int64_t a = level(x, y), b = level(x1, y), c = level(x, y1), d = level(x1, y1);
        if (cell(x + half, y) == depth.empty)
            cell(x + half, y) = displaced((a + b) / 2, s);
        if (cell(x, y + half) == depth.empty)
            cell(x, y + half) = displaced((a + c) / 2, s);
        if (cell(x1, y + half) == depth.empty)
            cell(x1, y + half) = displaced((b + d) / 2, s);
        if (cell(x + half, y1) == depth.empty)
            cell(x + half, y1) = displaced((c + d) / 2, s);
        cell(x + half, y + half) = displaced((a + b + c + d) / 4, s);
        if (half >= 2 * k) {
            square(x, y, half);
            square(x + half, y, half);
            square(x, y + half, half);
            square(x + half, y + half, half);
        }
    }

    // The fine rule: a rounded average plus the hashed offset of (x, y).
    uint64_t fine(int64_t sum, int64_t s, int64_t x, int64_t y) const
    {
        const int64_t m = ((s * variation) / k) / 2;
        const uint64_t hash = mix64(((uint64_t)firstSeed << 32) | (uint64_t)(y * n + x));
        const int64_t offset = ((int64_t)(hash % (uint64_t)(2 * m + 1)) - m) * depth.unit;
        return grey(clamped(((sum + 2) >> 2) + offset));
    }

    void fineLevels()
    {
        for (int64_t s = k; s >= 2; s /= 2) {
            const int64_t h = s / 2;
            for (int64_t y = h; y < n; y += s)
                for (int64_t x = h; x < n; x += s)
                    cell(x, y) = fine(level(x + n - h, y + n - h) + level(x + h, y + n - h)
                            + level(x + n - h, y + h) + level(x + h, y + h),
                        s, x, y);
            for (int64_t y = 0; y < n; y += h)
                for (int64_t x = (y / h) % 2 ? 0 : h; x < n; x += s)
                    cell(x, y) = fine(level(x + n - h, y) + level(x + h, y) + level(x, y + n - h)
                            + level(x, y + h),
                        s, x, y);
        }
    }
};

// The plasma by the rule from an all-empty texture, the generator left as
// the rule leaves it.
std::vector<uint64_t> ruleOfPlasma(RuleDepth depth, int64_t n, int64_t variation)
{
    RulePlasma plasma { depth, n, n / 256, variation, randomSeed,
        std::vector<uint64_t>((size_t)(n * n), depth.empty) };
    plasma.cell(0, 0) = plasma.grey(127 * depth.unit);
    plasma.square(0, 0, n);
    plasma.fineLevels();
    return plasma.cells;
}

template <class P> void expectTheRule(RuleDepth depth, int32_t side)
{
    // Seed, variation: 9,000,000 saturates the whole texture's amplitude.
    const int64_t cases[][2]
        = { { 1, 1 }, { 1, 20 }, { 716357048, 37 }, { 3000000019, 100 }, { 3, 9000000 } };
    for (const int64_t* c : cases) {
        SCOPED_TRACE(testing::Message() << "side " << side << ", seed " << c[0] << ", variation "
                                        << c[1] << ", " << depth.bits << " bits");
        randomSeed = (uint32_t)c[0];
        std::vector<P> pixels((size_t)side * side, (P)depth.empty);
        generatePlasma(pixels.data(), side, (int32_t)c[1]);
        const uint32_t engineSeed = randomSeed;
        randomSeed = (uint32_t)c[0];
        const std::vector<uint64_t> rule = ruleOfPlasma(depth, side, c[1]);
        EXPECT_EQ(engineSeed, randomSeed) << "the same random numbers";
        size_t differing = 0, first = 0;
        for (size_t i = pixels.size(); i-- > 0;)
            if ((uint64_t)pixels[i] != rule[i]) {
                ++differing;
                first = i;
            }
        EXPECT_EQ(differing, 0u) << "first at " << first % (size_t)side << ","
                                 << first / (size_t)side << ": " << std::hex
                                 << (uint64_t)pixels[first] << " where the rule gives "
                                 << rule[first];
    }
}

TEST(PlasmaRule, SixteenBitsTakeTheEightBitOffsetsUTimesAtK1And2)
{
    for (int32_t side : { 256, 512 })
        expectTheRule<DeepPixel>(SIXTEEN, side);
}

// The same text with U = 1 is the window's plasma and its larger sides.
TEST(PlasmaRule, EightBitsFollowTheSameTextAtK1And2)
{
    for (int32_t side : { 256, 512 })
        expectTheRule<Pixel>(EIGHT, side);
}

} // namespace
