// Every generator with arguments far outside the control panel's ranges. The
// test build traps on undefined behaviour and on out-of-bounds access, so
// these runs also show that no argument overflows or escapes the array.

#include <climits>
#include <gtest/gtest.h>
#include <vector>

#include "texture/generators.h"
#include "texture/random.h"
#include "texture/texture.h"

namespace {

const int32_t EXTREMES[]
    = { INT_MIN, INT_MIN + 1, -257, -1, 0, 1, 2, 255, 256, 501, INT_MAX - 1, INT_MAX };

// True when every pixel is a grey level, or EMPTY_PIXEL if that is allowed.
bool allGrey(const std::vector<Pixel>& pixels, bool emptyAllowed = false)
{
    for (Pixel p : pixels)
        if (p != (p & 0xFF) * 0x010101u && !(emptyAllowed && p == EMPTY_PIXEL))
            return false;
    return true;
}

bool allEqual(const std::vector<Pixel>& pixels, Pixel value)
{
    for (Pixel p : pixels)
        if (p != value)
            return false;
    return true;
}

// Generates cells from seed 1 and checks the numbers consumed and the
// pixels that follow from the argument alone.
void checkCells(std::vector<Pixel>& pixels, int32_t count, int32_t size)
{
    int32_t points = count < 0 ? 0 : count > 500 ? 500 : count;
    randomSeed = 1;
    for (int32_t i = 0; i < 2 * points; ++i)
        randomNumber(1);
    uint32_t expectedSeed = randomSeed;
    randomSeed = 1;
    generateCells(pixels.data(), TEXTURE_SIZE, count, size);
    ASSERT_EQ(randomSeed, expectedSeed) << count << " " << size;
    ASSERT_TRUE(allGrey(pixels)) << count << " " << size;
    if (points == 0) {
        Pixel white = size > 256 ? (Pixel)(256 * 255 / size) * 0x010101u : 0xFFFFFFu;
        ASSERT_TRUE(allEqual(pixels, white)) << count << " " << size;
    } else if (size == INT_MAX) {
        ASSERT_TRUE(allEqual(pixels, 0u)) << count;
    }
}

TEST(GeneratorExtremes, CellsWithAnyCountAndSize)
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT);
    const int32_t counts[] = { INT_MIN, INT_MIN + 1, -257, -1, 0, 1, 2 };
    for (int32_t count : counts)
        for (int32_t size : EXTREMES)
            checkCells(pixels, count, size);
    // Every count above 500 takes the same path; these are the slow ones.
    checkCells(pixels, 501, 1);
    checkCells(pixels, INT_MAX, INT_MIN);
    checkCells(pixels, INT_MAX, INT_MAX);
}

TEST(GeneratorExtremes, PongWithAnySize)
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT);
    for (int32_t size : EXTREMES) {
        generatePong(pixels.data(), TEXTURE_SIZE, size);
        ASSERT_TRUE(allGrey(pixels)) << size;
        ASSERT_EQ(pixels[128 * 256 + 128], 0xFFFFFFu) << size;
        ASSERT_EQ(pixels[0], size >= 181 ? (Pixel)(255 - 181 * 255 / size) * 0x010101u : 0u);
    }
}

TEST(GeneratorExtremes, SineWithAnyWaveCounts)
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT);
    for (int32_t wavesX : EXTREMES) {
        for (int32_t wavesY : EXTREMES) {
            generateSine(pixels.data(), TEXTURE_SIZE, wavesX, wavesY);
            ASSERT_TRUE(allGrey(pixels)) << wavesX << " " << wavesY;
            for (Pixel p : pixels)
                ASSERT_NE(p, 0u) << "levels stay within 1..255";
        }
    }
}

TEST(GeneratorExtremes, PlasmaWithAnyVariation)
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT);
    for (int32_t variation : EXTREMES) {
        std::fill(pixels.begin(), pixels.end(), EMPTY_PIXEL);
        randomSeed = 9;
        generatePlasma(pixels.data(), TEXTURE_SIZE, variation);
        ASSERT_TRUE(allGrey(pixels)) << variation;
        ASSERT_EQ(pixels[0], 0x7F7F7Fu);
        if (variation <= 0) {
            ASSERT_EQ(randomSeed, 9u) << variation;
        }
    }
}

// The amplitude saturates at the largest int. The raw random value never
// reaches half of that, so every displaced level clamps to black.
TEST(GeneratorExtremes, HugeVariationSaturatesToBlack)
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT, EMPTY_PIXEL);
    randomSeed = 1;
    generatePlasma(pixels.data(), TEXTURE_SIZE, INT_MAX);
    for (int32_t i = 1; i < TEXTURE_PIXEL_COUNT; ++i)
        ASSERT_EQ(pixels[i], 0u) << i;
    randomSeed = 1;
    EXPECT_EQ(plasmaEdgeValue(255, 255, INT_MAX), 0);
}

TEST(GeneratorExtremes, PlasmaSquaresAnywhereOfAnySize)
{
    std::vector<Pixel> pixels(TEXTURE_PIXEL_COUNT);
    for (int32_t x : EXTREMES) {
        for (int32_t y : EXTREMES) {
            std::fill(pixels.begin(), pixels.end(), EMPTY_PIXEL);
            plasmaSubdivide(pixels.data(), TEXTURE_SIZE, x, y, 4, 20);
            ASSERT_TRUE(allGrey(pixels, true)) << x << " " << y;
            // The centre of the square lands two pixels in, wrapped.
            ASSERT_NE(pixels[(size_t)((y + 2u) & 255u) * 256 + ((x + 2u) & 255u)], EMPTY_PIXEL);
        }
    }
    for (int32_t size : EXTREMES) {
        for (int32_t variation : EXTREMES) {
            std::fill(pixels.begin(), pixels.end(), EMPTY_PIXEL);
            plasmaSubdivide(pixels.data(), TEXTURE_SIZE, 3, 5, size, variation);
            ASSERT_TRUE(allGrey(pixels, true)) << size << " " << variation;
        }
    }
}

TEST(GeneratorExtremes, PlasmaHelpersWithAnyLevelsAndAmplitude)
{
    for (int32_t a : EXTREMES) {
        for (int32_t b : EXTREMES) {
            for (int32_t amplitude : EXTREMES) {
                randomSeed = 1;
                int32_t v = plasmaEdgeValue(a, b, amplitude);
                ASSERT_GE(v, 0);
                ASSERT_LE(v, 255);
                if (amplitude <= 0) {
                    int64_t mean = ((int64_t)a + b) / 2;
                    ASSERT_EQ(v, mean < 0 ? 0 : mean > 255 ? 255 : mean) << a << " " << b;
                    ASSERT_EQ(randomSeed, 1u);
                }
            }
        }
    }
    const int32_t few[] = { INT_MIN, -1, 0, 255, INT_MAX };
    for (int32_t a : few)
        for (int32_t b : few)
            for (int32_t c : few)
                for (int32_t d : few)
                    for (int32_t amplitude : EXTREMES) {
                        int32_t v = plasmaCentreValue(a, b, c, d, amplitude);
                        ASSERT_GE(v, 0);
                        ASSERT_LE(v, 255);
                    }
}

} // namespace
