#include "texture/combiners.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

#include "reference_ops.h"
#include "tests/support/random_texture.h"

namespace {

using testsupport::Noise;
using testsupport::randomTexture;

// Combines one target pixel with one source pixel through a whole texture.
template <typename Combine> Pixel combineOne(Combine combine, Pixel target, Pixel source)
{
    std::vector<Pixel> t(65536, target), s(65536, source);
    combine(t.data(), s.data(), TEXTURE_SIZE);
    EXPECT_EQ(t[0], t[65535]);
    return t[0];
}

Pixel mixOne(Pixel target, Pixel source, int32_t balance)
{
    return combineOne(
        [balance](Pixel* t, const Pixel* s, int32_t side) { mixTexture(t, s, side, balance); },
        target, source);
}

TEST(Combiners, WorkedExamples)
{
    EXPECT_EQ(combineOne(addTexture<Pixel>, 0x80FF40, 0xC0C0C0), 0xFFFFFFu);
    EXPECT_EQ(combineOne(addTexture<Pixel>, 0x102030, 0x010203), 0x112233u);
    EXPECT_EQ(combineOne(subtractTexture<Pixel>, 0x306050, 0x204060), 0x102000u);
    EXPECT_EQ(mixOne(0xFF0000, 0x0000FF, 128), 0x7F007Fu);
    EXPECT_EQ(mixOne(0x80123456u, 0x80ABCDEFu, 0), 0xABCDEFu);
    EXPECT_EQ(mixOne(0xFFFFFF, 0x000000, 256), 0xFEFEFEu);
    EXPECT_EQ(mixOne(0xFFFFFF, 0x000000, 255), 0xFEFEFEu);
    EXPECT_EQ(combineOne(copyTexture<Pixel>, 0x123456, 0x80000000u), 0x80000000u);
    EXPECT_EQ(combineOne(maxTexture<Pixel>, 0x80FF00, 0x00FF80), 0x80FF80u);
}

TEST(Combiners, EveryButCopyClearsTheTopByte)
{
    const Pixel empty = 0x80000000u;
    EXPECT_EQ(combineOne(addTexture<Pixel>, empty, 0xFF010203u), 0x010203u);
    EXPECT_EQ(combineOne(subtractTexture<Pixel>, 0xFF112233u, empty), 0x112233u);
    EXPECT_EQ(mixOne(empty, 0xFF000000u, 100), 0u);
    EXPECT_EQ(combineOne(maxTexture<Pixel>, empty, empty), 0u);
    EXPECT_EQ(combineOne(copyTexture<Pixel>, 0xFF000000u, 0x7F00FF00u), 0x7F00FF00u);
}

TEST(Combiners, MixClampsTheBalance)
{
    for (int32_t balance : { INT_MIN, -1 })
        EXPECT_EQ(mixOne(0x102030, 0x405060, balance), 0x405060u) << balance;
    for (int32_t balance : { 256, 1000, INT_MAX })
        EXPECT_EQ(mixOne(0x102030, 0x405060, balance), mixOne(0x102030, 0x405060, 255)) << balance;
}

TEST(Combiners, SameArrayAsTargetAndSource)
{
    const std::vector<Pixel> source = randomTexture(1);
    std::vector<Pixel> pixels = source;
    addTexture(pixels.data(), pixels.data(), TEXTURE_SIZE);
    for (size_t i = 0; i < source.size(); ++i)
        for (uint32_t shift = 0; shift < 24; shift += 8) {
            uint32_t doubled = ((source[i] >> shift) & 255) * 2;
            ASSERT_EQ((pixels[i] >> shift) & 255, doubled > 255 ? 255 : doubled);
        }
    pixels = source;
    subtractTexture(pixels.data(), pixels.data(), TEXTURE_SIZE);
    EXPECT_EQ(pixels, std::vector<Pixel>(65536, 0));
    std::vector<Pixel> colors = source;
    for (Pixel& pixel : colors)
        pixel &= 0xFFFFFF;
    for (int32_t balance : { 0, 1, 128, 256 }) {
        pixels = source;
        mixTexture(pixels.data(), pixels.data(), TEXTURE_SIZE, balance);
        EXPECT_EQ(pixels, colors) << balance;
    }
    pixels = source;
    maxTexture(pixels.data(), pixels.data(), TEXTURE_SIZE);
    EXPECT_EQ(pixels, colors);
    pixels = source;
    copyTexture(pixels.data(), pixels.data(), TEXTURE_SIZE);
    EXPECT_EQ(pixels, source);
}

TEST(Combiners, MatchThePlainPerChannelVersions)
{
    Noise noise(2);
    for (uint32_t seed = 3; seed < 13; ++seed) {
        const std::vector<Pixel> target = randomTexture(seed), source = randomTexture(seed + 100);
        std::vector<Pixel> fast = target, plain = target;
        addTexture(fast.data(), source.data(), TEXTURE_SIZE);
        reference::addTexture(plain.data(), source.data(), TEXTURE_SIZE);
        ASSERT_EQ(fast, plain);
        fast = plain = target;
        subtractTexture(fast.data(), source.data(), TEXTURE_SIZE);
        reference::subtractTexture(plain.data(), source.data(), TEXTURE_SIZE);
        ASSERT_EQ(fast, plain);
        fast = plain = target;
        maxTexture(fast.data(), source.data(), TEXTURE_SIZE);
        reference::maxTexture(plain.data(), source.data(), TEXTURE_SIZE);
        ASSERT_EQ(fast, plain);
        fast = target;
        copyTexture(fast.data(), source.data(), TEXTURE_SIZE);
        ASSERT_EQ(fast, source);
        int32_t balance = noise.between(-10, 270);
        fast = plain = target;
        mixTexture(fast.data(), source.data(), TEXTURE_SIZE, balance);
        reference::mixTexture(plain.data(), source.data(), TEXTURE_SIZE, balance);
        ASSERT_EQ(fast, plain) << balance;
    }
}

} // namespace
