#include "texture/generators.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

#include "texture/random.h"
#include "texture/texture.h"

namespace {

// A 256 x 256 pixel array, every cell empty.
struct Image {
    std::vector<Pixel> pixels = std::vector<Pixel>(TEXTURE_PIXEL_COUNT, EMPTY_PIXEL);
    Pixel at(int32_t x, int32_t y) const { return pixels[(size_t)(y & 255) * 256 + (x & 255)]; }
    int32_t level(int32_t x, int32_t y) const { return (int32_t)(at(x, y) & 0xFF); }
    Pixel* data() { return pixels.data(); }
};

// Returns the seed reached from `seed` after `count` random numbers.
uint32_t seedAfter(uint32_t seed, int32_t count)
{
    uint32_t saved = randomSeed;
    randomSeed = seed;
    for (int32_t i = 0; i < count; ++i)
        randomNumber(1);
    uint32_t reached = randomSeed;
    randomSeed = saved;
    return reached;
}

void expectAllGrey(const Image& image)
{
    for (int32_t i = 0; i < TEXTURE_PIXEL_COUNT; ++i)
        ASSERT_EQ(image.pixels[i], (image.pixels[i] & 0xFF) * 0x010101u) << "pixel " << i;
}

TEST(Cells, PointsAreBlackAndTheRampReachesWhiteAtTheSize)
{
    Image image;
    randomSeed = 1;
    generateCells(image.data(), TEXTURE_SIZE, 2, 50);
    EXPECT_EQ(image.at(126, 228), 0x000000u);
    EXPECT_EQ(image.at(56, 56), 0x000000u);
    EXPECT_EQ(randomSeed, 330563896u) << "two points take four numbers";

    randomSeed = 1;
    generateCells(image.data(), TEXTURE_SIZE, 1, 50); // the one point (126, 228)
    EXPECT_EQ(image.at(126, 12), 0xCCCCCCu) << "40 below, across the bottom edge";
    EXPECT_EQ(image.at(155, 12), 0xF9F9F9u) << "distance 49.4 rounds to 49";
    EXPECT_EQ(image.at(156, 12), 0xFFFFFFu) << "exactly at the size";
    EXPECT_EQ(image.at(176, 228), 0xFFFFFFu);
    EXPECT_EQ(image.at(175, 228), 0xF9F9F9u);
    EXPECT_EQ(image.at(76, 228), 0xFFFFFFu);
    EXPECT_EQ(image.at(77, 228), 0xF9F9F9u);
    expectAllGrey(image);
}

TEST(Cells, CountAboveFiveHundredActsAsFiveHundred)
{
    Image capped, limit;
    randomSeed = 1;
    generateCells(capped.data(), TEXTURE_SIZE, 501, 30);
    EXPECT_EQ(randomSeed, seedAfter(1, 1000));
    randomSeed = 1;
    generateCells(limit.data(), TEXTURE_SIZE, 500, 30);
    EXPECT_EQ(capped.pixels, limit.pixels);
}

TEST(Cells, NoPointsLeaveEveryDistanceAt256)
{
    const int32_t counts[] = { 0, -1, -500 };
    for (int32_t count : counts) {
        Image image;
        randomSeed = 7;
        generateCells(image.data(), TEXTURE_SIZE, count, 50);
        EXPECT_EQ(randomSeed, 7u) << count;
        EXPECT_TRUE(std::all_of(image.pixels.begin(), image.pixels.end(), [](Pixel p) {
            return p == 0xFFFFFFu;
        })) << count;
        generateCells(image.data(), TEXTURE_SIZE, count, 512); // 256 * 255 / 512 = 127
        EXPECT_TRUE(std::all_of(image.pixels.begin(), image.pixels.end(), [](Pixel p) {
            return p == 0x7F7F7Fu;
        })) << count;
    }
}

TEST(Cells, SizeBelowOneActsAsOne)
{
    Image one;
    randomSeed = 1;
    generateCells(one.data(), TEXTURE_SIZE, 2, 1);
    EXPECT_EQ(one.at(126, 228), 0x000000u);
    EXPECT_EQ(one.at(127, 228), 0xFFFFFFu);
    const int32_t sizes[] = { 0, -1, -1000 };
    for (int32_t size : sizes) {
        Image image;
        randomSeed = 1;
        generateCells(image.data(), TEXTURE_SIZE, 2, size);
        EXPECT_EQ(image.pixels, one.pixels) << size;
    }
}

// The grey ramp rises by at most ceil(255 / size) from one pixel to the next,
// also from the last column to the first and from the last row to the first:
// a seam that did not wrap would jump.
TEST(Cells, NeighbouringPixelsDifferLittleAcrossTheSeams)
{
    Image image;
    for (int32_t run = 0; run < 40; ++run) {
        randomSeed = 1 + (uint32_t)run * 7919u;
        int32_t count = 1 + run % 9;
        int32_t size = 20 + run * 7;
        generateCells(image.data(), TEXTURE_SIZE, count, size);
        int32_t limit = (255 + size - 1) / size;
        for (int32_t x = 0; x < 256; ++x) {
            for (int32_t y = 0; y < 256; ++y) {
                int32_t level = image.level(x, y);
                ASSERT_LE(std::abs(level - image.level(x + 1, y)), limit) << x << "," << y;
                ASSERT_LE(std::abs(level - image.level(x, y + 1)), limit) << x << "," << y;
            }
        }
    }
}

TEST(Pong, SpotIsWhiteAtTheCentreAndFadesToBlack)
{
    Image image;
    generatePong(image.data(), TEXTURE_SIZE, 128);
    EXPECT_EQ(image.at(128, 128), 0xFFFFFFu);
    EXPECT_EQ(image.at(1, 128), 0x020202u);
    EXPECT_EQ(image.at(0, 128), 0x000000u);
    EXPECT_EQ(image.at(0, 0), 0x000000u);
    EXPECT_EQ(image.at(255, 128), 0x020202u) << "127 to the right";
    expectAllGrey(image);
}

TEST(Pong, SizeBelowOneLightsOnlyTheCentre)
{
    const int32_t sizes[] = { 1, 0, -1, -1000 };
    for (int32_t size : sizes) {
        Image image;
        generatePong(image.data(), TEXTURE_SIZE, size);
        for (int32_t i = 0; i < TEXTURE_PIXEL_COUNT; ++i)
            ASSERT_EQ(image.pixels[i], i == 128 * 256 + 128 ? 0xFFFFFFu : 0u) << size << " " << i;
    }
}

// The spot is mirror-symmetric about its centre in both axes and about the
// diagonal, and never brightens away from the centre.
TEST(Pong, SpotIsSymmetricAndFallsOffForEverySize)
{
    Image image;
    for (int32_t size = 1; size <= 300; ++size) {
        generatePong(image.data(), TEXTURE_SIZE, size);
        for (int32_t i = 0; i <= 128; ++i) {
            for (int32_t j = 0; j <= 128; ++j) {
                Pixel p = image.at(128 + i, 128 + j);
                ASSERT_EQ(p, image.at(128 - i, 128 + j)) << size;
                ASSERT_EQ(p, image.at(128 + i, 128 - j)) << size;
                ASSERT_EQ(p, image.at(128 + j, 128 + i)) << size;
                if (i < 128) {
                    ASSERT_GE(p, image.at(128 + i + 1, 128 + j)) << size;
                }
            }
        }
    }
}

TEST(Sine, ZeroWavesGiveFlatGreyAndOneWavePeaksAtAQuarter)
{
    Image image;
    generateSine(image.data(), TEXTURE_SIZE, 0, 0);
    EXPECT_TRUE(std::all_of(
        image.pixels.begin(), image.pixels.end(), [](Pixel p) { return p == 0x808080u; }));
    generateSine(image.data(), TEXTURE_SIZE, 1, 1);
    EXPECT_EQ(image.at(0, 0), 0x808080u);
    EXPECT_EQ(image.at(64, 64), 0xFFFFFFu);
    EXPECT_EQ(image.at(192, 192), 0x010101u);
    expectAllGrey(image);
}

// Whole periods make each wave odd about the seam: the levels at x and at
// 256 - x add up to 256, less up to 2 for the two truncations.
TEST(Sine, WavesCompleteWholePeriodsAcrossTheTexture)
{
    Image image;
    for (int32_t waves = 0; waves <= 99; ++waves) {
        generateSine(image.data(), TEXTURE_SIZE, waves, 0);
        for (int32_t x = 1; x < 256; ++x)
            ASSERT_LE(std::abs(image.level(x, 0) + image.level(256 - x, 0) - 256), 2)
                << waves << " " << x;
        generateSine(image.data(), TEXTURE_SIZE, 0, waves);
        for (int32_t y = 1; y < 256; ++y)
            ASSERT_LE(std::abs(image.level(0, y) + image.level(0, 256 - y) - 256), 2)
                << waves << " " << y;
    }
}

TEST(Plasma, FirstValuesFollowTheRandomOrder)
{
    Image image;
    randomSeed = 1;
    generatePlasma(image.data(), TEXTURE_SIZE, 1);
    EXPECT_EQ(image.at(0, 0), 0x7F7F7Fu);
    EXPECT_EQ(image.at(128, 0), 0x7D7D7Du);
    EXPECT_EQ(image.at(0, 128), 0xE3E3E3u);
    EXPECT_EQ(image.at(128, 128), 0x373737u);
    EXPECT_EQ(image.at(64, 0), 0x767676u);
    EXPECT_EQ(image.at(0, 64), 0xA9A9A9u);
    EXPECT_EQ(image.at(128, 64), 0x2A2A2Au);
    EXPECT_EQ(image.at(64, 128), 0x9D9D9Du);
    EXPECT_EQ(image.at(64, 64), 0x5D5D5Du);
}

TEST(Plasma, FillsEveryPixelOnceWithGrey)
{
    const int32_t variations[] = { 1, 20, 100, 5000 };
    for (int32_t variation : variations) {
        Image image;
        randomSeed = 3;
        generatePlasma(image.data(), TEXTURE_SIZE, variation);
        EXPECT_EQ(randomSeed, seedAfter(3, 65535)) << variation;
        EXPECT_EQ(image.at(0, 0), 0x7F7F7Fu);
        expectAllGrey(image);
    }
}

TEST(Plasma, KeepsCellsThatAreNotEmpty)
{
    Image image;
    image.pixels[128] = 0x000000; // the top midpoint of the whole texture
    randomSeed = 1;
    generatePlasma(image.data(), TEXTURE_SIZE, 1);
    EXPECT_EQ(image.at(128, 0), 0x000000u);
    EXPECT_EQ(image.at(0, 128), 0x7D7D7Du) << "takes the number the top would have used";
    EXPECT_EQ(randomSeed, seedAfter(1, 65534));
}

TEST(Plasma, NoVariationGivesFlatGreyWithoutRandomNumbers)
{
    const int32_t variations[] = { 0, -1, -20 };
    for (int32_t variation : variations) {
        Image image;
        randomSeed = 5;
        generatePlasma(image.data(), TEXTURE_SIZE, variation);
        EXPECT_EQ(randomSeed, 5u) << variation;
        EXPECT_TRUE(std::all_of(image.pixels.begin(), image.pixels.end(), [](Pixel p) {
            return p == 0x7F7F7Fu;
        })) << variation;
    }
}

TEST(Plasma, MidpointValuesAreDisplacedMeansClampedToGreyLevels)
{
    randomSeed = 1; // next raw value 126 for amplitude 256
    EXPECT_EQ(plasmaEdgeValue(127, 127, 256), 125);
    randomSeed = 1;
    EXPECT_EQ(plasmaEdgeValue(0, 3, 256), 0) << "1 + 126 - 128 clamps to 0";
    randomSeed = 1;
    EXPECT_EQ(plasmaCentreValue(255, 255, 255, 254, 256), 252);
    randomSeed = 1;
    EXPECT_EQ(plasmaEdgeValue(255, 255, 2), 254) << "raw 0 for amplitude 2, offset -1";
    randomSeed = 1;
    EXPECT_EQ(plasmaEdgeValue(200, 255, 5120), 255);
    randomSeed = 1;
    EXPECT_EQ(plasmaEdgeValue(10, 20, 0), 15);
    EXPECT_EQ(randomSeed, 1u);
    EXPECT_EQ(plasmaCentreValue(10, 20, 30, 43, 0), 25);
    EXPECT_EQ(randomSeed, 1u);
}

} // namespace
