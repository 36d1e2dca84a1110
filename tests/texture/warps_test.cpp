#include "texture/warps.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "reference_ops.h"
#include "tests/support/random_texture.h"
#include "trig/rounded_trig.h"

namespace {

using testsupport::Noise;
using testsupport::randomTexture;

const int32_t EXTREMES[] = { INT_MIN, INT_MIN + 1, -257, -256, -1, 0, 1, 255, 256, INT_MAX };

Pixel at(const std::vector<Pixel>& pixels, int32_t x, int32_t y)
{
    return pixels[(size_t)(y * 256 + x)];
}

// The colour a whole-pixel sample must give: the pixel without its top byte.
Pixel colorAt(const std::vector<Pixel>& pixels, int32_t x, int32_t y)
{
    return at(pixels, x, y) & 0xFFFFFF;
}

std::vector<Pixel> moved(std::vector<Pixel> pixels, int32_t dx, int32_t dy)
{
    moveTexture(pixels.data(), TEXTURE_SIZE, dx, dy);
    return pixels;
}

std::vector<Pixel> twirled(std::vector<Pixel> pixels, int32_t direction)
{
    twirlTexture(pixels.data(), TEXTURE_SIZE, direction);
    return pixels;
}

std::vector<Pixel> deformed(
    std::vector<Pixel> pixels, int32_t wavesX, int32_t sizeX, int32_t wavesY, int32_t sizeY)
{
    deformTexture(pixels.data(), TEXTURE_SIZE, wavesX, sizeX, wavesY, sizeY);
    return pixels;
}

TEST(SampleBilinear, WholePositionsGiveThePixelWithoutItsTopByte)
{
    std::vector<Pixel> pixels = randomTexture(1);
    for (int32_t y = 0; y < 256; y += 5)
        for (int32_t x = 0; x < 256; x += 3)
            ASSERT_EQ(sampleBilinear(pixels.data(), TEXTURE_SIZE, x, y), colorAt(pixels, x, y))
                << x << "," << y;
}

TEST(SampleBilinear, HalfwayTruncatesAndBlendsAcrossTheEdge)
{
    std::vector<Pixel> pixels(65536, 0);
    pixels[7 * 256 + 255] = 0x0A0A0A; // column 255
    pixels[7 * 256 + 0] = 0x0B0B0B; // column 0
    pixels[7 * 256 + 100] = 0x0A0A0A;
    pixels[7 * 256 + 101] = 0x0B0B0B;
    EXPECT_EQ(sampleBilinear(pixels.data(), TEXTURE_SIZE, 100.5, 7), 0x0A0A0Au);
    EXPECT_EQ(sampleBilinear(pixels.data(), TEXTURE_SIZE, 255.5, 7), 0x0A0A0Au);
    EXPECT_EQ(sampleBilinear(pixels.data(), TEXTURE_SIZE, -0.5, 7), 0x0A0A0Au);
    // Vertically across the bottom edge, with different channels.
    pixels[255 * 256 + 9] = 0x00FF20;
    pixels[0 * 256 + 9] = 0xFF0040;
    EXPECT_EQ(sampleBilinear(pixels.data(), TEXTURE_SIZE, 9, -0.5), 0x7F7F30u);
    EXPECT_EQ(sampleBilinear(pixels.data(), TEXTURE_SIZE, 9, 255.5), 0x7F7F30u);
}

// Positions with few fraction bits stay exact when whole turns of 256 are
// added, so the sample must not change; beyond the 32-bit range the
// position is reduced modulo 256, and a non-finite one counts as 0.
TEST(SampleBilinear, WrapsEveryPositionIncludingExtremes)
{
    std::vector<Pixel> pixels = randomTexture(2);
    Noise noise(3);
    const double turns[] = { -1e9, -8388608, -65536, -2, -1, 1, 2, 65536, 8388608, 1e9 };
    for (int32_t i = 0; i < 2000; ++i) {
        double x = noise.between(0, 256 * 64 - 1) / 64.0;
        double y = noise.between(0, 256 * 64 - 1) / 64.0;
        double turnX = turns[i % 10] * 256, turnY = turns[(i / 10) % 10] * 256;
        ASSERT_EQ(sampleBilinear(pixels.data(), TEXTURE_SIZE, x + turnX, y + turnY),
            sampleBilinear(pixels.data(), TEXTURE_SIZE, x, y))
            << x << "+" << turnX << ", " << y << "+" << turnY;
    }
    const Pixel* data = pixels.data();
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, -2147483648.0, 3), colorAt(pixels, 0, 3));
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, 2147483647.0, 3), colorAt(pixels, 255, 3));
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, 2147483648.0, 3), colorAt(pixels, 0, 3));
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, -2147483649.0, 3), colorAt(pixels, 255, 3));
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, 2147483648.5, 3),
        sampleBilinear(data, TEXTURE_SIZE, 0.5, 3));
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, 3, 1e300), colorAt(pixels, 3, 0));
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, -1e300, 3), colorAt(pixels, 0, 3));
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, std::numeric_limits<double>::max(), 3),
        colorAt(pixels, 0, 3));
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, inf, 3), colorAt(pixels, 0, 3));
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, 3, -inf), colorAt(pixels, 3, 0));
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, nan, nan), colorAt(pixels, 0, 0));
    EXPECT_EQ(sampleBilinear(data, TEXTURE_SIZE, -1e-300, 3), colorAt(pixels, 0, 3));
}

TEST(SampleBilinear, MatchesThePlainFormulaEverywhere)
{
    std::vector<Pixel> pixels = randomTexture(4);
    Noise noise(5);
    // Real positions from -1024 to 1024 with full fraction bits, and whole
    // or half positions missed by a rounding error, where truncation bites.
    const double misses[] = { 0, 1e-13, -1e-13, 1e-9, -1e-9, 0.5 };
    for (int32_t i = 0; i < 100000; ++i) {
        double x = (noise.next() / 4294967296.0 - 0.5) * 2048;
        double y = (noise.next() / 4294967296.0 - 0.5) * 2048;
        if (i % 2) {
            x = noise.between(-1024, 1024) + misses[noise.between(0, 5)];
            y = noise.between(-1024, 1024) + misses[noise.between(0, 5)];
        }
        ASSERT_EQ(sampleBilinear(pixels.data(), TEXTURE_SIZE, x, y),
            reference::sampleBilinear(pixels.data(), TEXTURE_SIZE, x, y))
            << x << ", " << y;
    }
}

TEST(Deform, ZeroAmplitudesOrZeroWaveCountsReproduceTheSource)
{
    std::vector<Pixel> source = randomTexture(6);
    std::vector<Pixel> colors = source;
    for (Pixel& pixel : colors)
        pixel &= 0xFFFFFF;
    EXPECT_EQ(deformed(source, 3, 0, 4, 0), colors);
    EXPECT_EQ(deformed(source, 0, 10, 0, 10), colors);
    EXPECT_EQ(deformed(source, 0, 256, 0, 256), colors);
}

TEST(Deform, DefaultsDisplaceAlongTheRowsAndColumns)
{
    std::vector<Pixel> source = randomTexture(7);
    // Row 64 is displaced by exactly -10, which wraps to column 246.
    std::vector<Pixel> result = deformed(source, 3, 10, 4, 10);
    EXPECT_EQ(at(result, 0, 64), colorAt(source, 246, 64));
    // Row 0 has no horizontal displacement, column 0 no vertical one.
    std::vector<Pixel> vertical = deformed(source, 3, 0, 4, 10);
    std::vector<Pixel> horizontal = deformed(source, 3, 10, 4, 0);
    for (int32_t i = 0; i < 256; ++i) {
        ASSERT_EQ(at(horizontal, i, 0), colorAt(source, i, 0)) << i;
        ASSERT_EQ(at(vertical, 0, i), colorAt(source, 0, i)) << i;
    }
    EXPECT_NE(at(horizontal, 0, 64), colorAt(source, 0, 64));
}

TEST(Deform, MatchesThePlainVersionForManyParameterSets)
{
    std::vector<Pixel> source = randomTexture(8);
    Noise noise(9);
    for (int32_t i = 0; i < 200; ++i) {
        int32_t wavesX = noise.between(0, 100), sizeX = noise.between(0, 256);
        int32_t wavesY = noise.between(0, 100), sizeY = noise.between(0, 256);
        if (i % 4 == 3) { // beyond the panel's ranges, either sign
            wavesX = (int32_t)noise.next() >> noise.between(0, 31);
            sizeX = (int32_t)noise.next() >> noise.between(0, 31);
            wavesY = (int32_t)noise.next() >> noise.between(0, 31);
            sizeY = (int32_t)noise.next() >> noise.between(0, 31);
        }
        std::vector<Pixel> expected = source;
        reference::deformTexture(expected.data(), TEXTURE_SIZE, wavesX, sizeX, wavesY, sizeY);
        ASSERT_EQ(deformed(source, wavesX, sizeX, wavesY, sizeY), expected)
            << wavesX << " " << sizeX << " " << wavesY << " " << sizeY;
    }
}

TEST(Twirl, SamplesTheTurnedPosition)
{
    std::vector<Pixel> source = randomTexture(10);
    double sx = 128 + 64 * roundedCos(2.0), sy = 128 + 64 * roundedSin(2.0);
    EXPECT_NEAR(sx, 101.37, 0.01);
    EXPECT_NEAR(sy, 186.20, 0.01);
    EXPECT_EQ(
        at(twirled(source, 64), 192, 128), sampleBilinear(source.data(), TEXTURE_SIZE, sx, sy));
    // The opposite direction turns the other way.
    EXPECT_EQ(at(twirled(source, -64), 192, 128),
        sampleBilinear(
            source.data(), TEXTURE_SIZE, 128 + 64 * roundedCos(-2.0), 128 + 64 * roundedSin(-2.0)));
}

TEST(Twirl, KeepsTheCentreAndTheCornersWhateverTheDirection)
{
    std::vector<Pixel> source = randomTexture(11);
    std::vector<Pixel> still = twirled(source, 0);
    std::vector<int32_t> directions = { -128, -64, -1, 1, 63, 128 };
    directions.insert(directions.end(), std::begin(EXTREMES), std::end(EXTREMES));
    for (int32_t direction : directions) {
        std::vector<Pixel> result = twirled(source, direction);
        EXPECT_EQ(at(result, 128, 128), colorAt(source, 128, 128)) << direction;
        // Outside the disc (which takes in the whole top row and left
        // column) the angle is never changed.
        for (int32_t y = 0; y < 256; ++y) {
            for (int32_t x = 0; x < 256; ++x) {
                if ((x - 128) * (x - 128) + (y - 128) * (y - 128) >= 128 * 128) {
                    ASSERT_EQ(at(result, x, y), at(still, x, y))
                        << direction << " " << x << "," << y;
                }
            }
        }
    }
}

TEST(Twirl, WithoutTurningEveryChannelStaysOrDropsOneStep)
{
    std::vector<Pixel> source = randomTexture(12);
    std::vector<Pixel> result = twirled(source, 0);
    int32_t lowered = 0;
    for (size_t i = 0; i < source.size(); ++i) {
        for (uint32_t shift = 0; shift < 24; shift += 8) {
            int32_t before = (source[i] >> shift) & 255, after = (result[i] >> shift) & 255;
            ASSERT_TRUE(after == before || after == before - 1) << i << " " << shift;
            lowered += after != before;
        }
        ASSERT_EQ(result[i] >> 24, 0u);
    }
    EXPECT_GT(lowered, 0); // the round trip does miss some whole positions
}

TEST(Twirl, MatchesThePlainVersionForEveryPanelDirection)
{
    std::vector<Pixel> source = randomTexture(13);
    std::vector<int32_t> directions;
    for (int32_t direction = -128; direction <= 128; ++direction)
        directions.push_back(direction);
    directions.insert(directions.end(), std::begin(EXTREMES), std::end(EXTREMES));
    for (int32_t direction : directions) {
        std::vector<Pixel> expected = source;
        reference::twirlTexture(expected.data(), TEXTURE_SIZE, direction);
        ASSERT_EQ(twirled(source, direction), expected) << direction;
    }
}

TEST(Move, ShiftsWholePixelsAroundTheEdges)
{
    std::vector<Pixel> source = randomTexture(14);
    EXPECT_EQ(moved(source, 0, 0), source);
    EXPECT_EQ(moved(moved(source, 37, -90), -37, 90), source);
    EXPECT_EQ(moved(source, 128, 5), moved(source, -128, 5));
    std::vector<Pixel> right = moved(source, 1, 0);
    std::vector<Pixel> down = moved(source, 0, 1);
    for (int32_t i = 0; i < 256; ++i) {
        ASSERT_EQ(at(right, 0, i), at(source, 255, i));
        ASSERT_EQ(at(right, 255, i), at(source, 254, i));
        ASSERT_EQ(at(down, i, 0), at(source, i, 255));
    }
    // Only the low 8 bits of each offset count, at the 32-bit extremes too.
    EXPECT_EQ(moved(source, INT_MIN, INT_MAX), moved(source, 0, -1));
    EXPECT_EQ(moved(source, INT_MAX, INT_MIN + 1), moved(source, 255, 1));
    EXPECT_EQ(moved(moved(source, 100, 200), 100, 200), moved(source, 200, 400));
}

TEST(Move, MatchesThePlainVersionForRandomOffsets)
{
    std::vector<Pixel> source = randomTexture(15);
    Noise noise(16);
    for (int32_t i = 0; i < 300; ++i) {
        int32_t dx = EXTREMES[i % 10], dy = EXTREMES[(i / 10) % 10];
        if (i >= 100 && i < 200)
            dx = noise.between(-128, 128), dy = noise.between(-128, 128);
        else if (i >= 200)
            dx = (int32_t)noise.next(), dy = (int32_t)noise.next();
        std::vector<Pixel> expected = source;
        reference::moveTexture(expected.data(), TEXTURE_SIZE, dx, dy);
        ASSERT_EQ(moved(source, dx, dy), expected) << dx << ", " << dy;
    }
}

// Deform at every extreme parameter: each must stay defined (the sanitizer
// build aborts otherwise) and agree with the plain formula.
TEST(Deform, ExtremeParametersStayDefined)
{
    std::vector<Pixel> source = randomTexture(17);
    const int32_t defaults[4] = { 3, 10, 4, 10 };
    for (int32_t which = 0; which < 4; ++which) {
        for (int32_t value : EXTREMES) {
            int32_t p[4] = { defaults[0], defaults[1], defaults[2], defaults[3] };
            p[which] = value;
            std::vector<Pixel> expected = source;
            reference::deformTexture(expected.data(), TEXTURE_SIZE, p[0], p[1], p[2], p[3]);
            ASSERT_EQ(deformed(source, p[0], p[1], p[2], p[3]), expected) << which << " " << value;
        }
    }
    std::vector<Pixel> result = deformed(source, INT_MAX, INT_MIN, INT_MIN, INT_MAX);
    for (Pixel pixel : result)
        ASSERT_EQ(pixel >> 24, 0u);
}

} // namespace
