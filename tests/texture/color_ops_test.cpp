#include "texture/color_ops.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

#include "reference_ops.h"
#include "tests/support/random_texture.h"

namespace {

using testsupport::Noise;
using testsupport::randomTexture;

TEST(Colorize, RampFollowsTheBlueChannelOnly)
{
    std::vector<Pixel> pixels = randomTexture(1);
    std::vector<Pixel> blues = pixels;
    colorizeTexture(pixels.data(), TEXTURE_SIZE, 255, 0, 0, 0, 255, 255);
    int32_t checked = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        uint32_t blue = blues[i] & 255;
        Pixel expected = blue == 0 ? 0xFF0000 : blue == 128 ? 0x7F7F7F : 0x00FEFE;
        if (blue == 0 || blue == 128 || blue == 255) {
            ASSERT_EQ(pixels[i], expected) << std::hex << blues[i];
            ++checked;
        }
    }
    EXPECT_GT(checked, 500);
    // An empty cell has blue 0: it becomes colour 1 exactly, top byte 0.
    std::vector<Pixel> empty(65536, 0x80000000u);
    colorizeTexture(empty.data(), TEXTURE_SIZE, 12, 34, 56, 200, 100, 0);
    EXPECT_EQ(empty[0], 0x0C2238u);
    EXPECT_EQ(empty[65535], 0x0C2238u);
}

TEST(Colorize, MatchesThePlainRampForAnyColours)
{
    std::vector<Pixel> source = randomTexture(2);
    Noise noise(3);
    const int32_t extremes[] = { INT_MIN, -1, 0, 255, 256, INT_MAX };
    for (int32_t i = 0; i < 100; ++i) {
        int32_t c[6];
        for (int32_t& component : c)
            component = i < 50 ? noise.between(0, 255) : extremes[noise.between(0, 5)];
        std::vector<Pixel> pixels = source, expected = source;
        colorizeTexture(pixels.data(), TEXTURE_SIZE, c[0], c[1], c[2], c[3], c[4], c[5]);
        reference::colorizeTexture(
            expected.data(), TEXTURE_SIZE, c[0], c[1], c[2], c[3], c[4], c[5]);
        ASSERT_EQ(pixels, expected) << i;
    }
}

TEST(Invert, FlipsTheColourAndKeepsTheTopByte)
{
    std::vector<Pixel> source = randomTexture(4);
    source[0] = 0x80000000u;
    std::vector<Pixel> pixels = source;
    invertTexture(pixels.data(), TEXTURE_SIZE);
    EXPECT_EQ(pixels[0], 0x80FFFFFFu);
    for (size_t i = 0; i < pixels.size(); ++i)
        ASSERT_EQ(pixels[i], source[i] ^ 0xFFFFFFu) << i;
    invertTexture(pixels.data(), TEXTURE_SIZE);
    EXPECT_EQ(pixels, source);
}

TEST(Clear, FillsWithColourOne)
{
    std::vector<Pixel> pixels = randomTexture(5);
    clearTexture(pixels.data(), TEXTURE_SIZE, 255, 0, 0);
    EXPECT_EQ(pixels, std::vector<Pixel>(65536, 0xFF0000));
    clearTexture(pixels.data(), TEXTURE_SIZE, 1, 2, 3);
    EXPECT_EQ(pixels, std::vector<Pixel>(65536, 0x010203));
}

// Components outside 0..255 never come from the panel; they are composed
// with unsigned arithmetic, parts added, so the result is defined.
TEST(Clear, ComponentsOutOfRangeWrapInsteadOfOverflowing)
{
    std::vector<Pixel> pixels(65536);
    clearTexture(pixels.data(), TEXTURE_SIZE, 256, 0, 0);
    EXPECT_EQ(pixels[7], 0x01000000u);
    clearTexture(pixels.data(), TEXTURE_SIZE, -1, 0, 0);
    EXPECT_EQ(pixels[7], 0xFFFF0000u);
    clearTexture(pixels.data(), TEXTURE_SIZE, INT_MAX, INT_MIN, INT_MAX);
    EXPECT_EQ(pixels[7], 0x7FFEFFFFu); // 0xFFFF0000 + 0 + 0x7FFFFFFF, modulo 2^32
}

} // namespace
