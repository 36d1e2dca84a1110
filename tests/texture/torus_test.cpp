#include "texture/texture.h"
#include "texture/torus.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(TorusDistance, MeasuresAcrossTheEdgesWhereThatIsShorter)
{
    EXPECT_EQ(torusDistance(TEXTURE_SIZE, 0, 0, 255, 255), 1);
    EXPECT_EQ(torusDistance(TEXTURE_SIZE, 0, 0, 128, 128), 181);
    EXPECT_EQ(torusDistance(TEXTURE_SIZE, 0, 0, 129, 0), 127);
    EXPECT_EQ(torusDistance(TEXTURE_SIZE, 0, 0, 128, 0), 128);
    EXPECT_EQ(torusDistance(TEXTURE_SIZE, 0, 0, 3, 4), 5);
    EXPECT_EQ(torusDistance(TEXTURE_SIZE, 200, 10, 10, 200), 93); // dx = dy = 66: 93.34
}

// The shortest of the nine copies of the second point around the first,
// rounded with halves going up.
int32_t nearestCopyDistance(int32_t dx, int32_t dy)
{
    double best = 1e9;
    for (int32_t ox = -256; ox <= 256; ox += 256)
        for (int32_t oy = -256; oy <= 256; oy += 256)
            best = std::min(
                best, std::sqrt((double)((dx + ox) * (dx + ox) + (dy + oy) * (dy + oy))));
    return (int32_t)(best + 0.5);
}

TEST(TorusDistance, EqualsTheNearestCopyForEveryOffset)
{
    for (int32_t dx = 0; dx < 256; ++dx)
        for (int32_t dy = 0; dy < 256; ++dy)
            ASSERT_EQ(torusDistance(TEXTURE_SIZE, 0, 0, dx, dy), nearestCopyDistance(dx, dy))
                << dx << "," << dy;
}

TEST(TorusDistance, IsSymmetricAndUnchangedByShiftingBothPoints)
{
    uint32_t state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1664525u + 1013904223u;
        int32_t x1 = (int32_t)(state >> 24), y1 = (int32_t)(state >> 16 & 255);
        int32_t x2 = (int32_t)(state >> 8 & 255), y2 = (int32_t)(state & 255);
        int32_t shift = i % 256;
        int32_t d = torusDistance(TEXTURE_SIZE, x1, y1, x2, y2);
        ASSERT_EQ(d, torusDistance(TEXTURE_SIZE, x2, y2, x1, y1));
        ASSERT_EQ(d, torusDistance(TEXTURE_SIZE, x1, y2, x2, y1)) << "axes are independent";
        ASSERT_EQ(d, torusDistance(TEXTURE_SIZE, (x1 + shift) & 255, y1, (x2 + shift) & 255, y2));
        ASSERT_EQ(d, torusDistance(TEXTURE_SIZE, x1, (y1 + shift) & 255, x2, (y2 + shift) & 255));
        ASSERT_LE(d, 181);
    }
}

TEST(TorusDistance, WrapsCoordinatesOutsideTheTexture)
{
    const int32_t extremes[]
        = { INT_MIN, INT_MIN + 1, -257, -256, -1, 0, 1, 255, 256, 257, INT_MAX - 1, INT_MAX };
    for (int32_t x1 : extremes)
        for (int32_t y1 : extremes)
            for (int32_t x2 : extremes)
                for (int32_t y2 : extremes)
                    ASSERT_EQ(torusDistance(TEXTURE_SIZE, x1, y1, x2, y2),
                        torusDistance(TEXTURE_SIZE, x1 & 255, y1 & 255, x2 & 255, y2 & 255))
                        << x1 << " " << y1 << " " << x2 << " " << y2;
    EXPECT_EQ(torusDistance(TEXTURE_SIZE, -1, 0, 0, 0), 1);
    EXPECT_EQ(torusDistance(TEXTURE_SIZE, INT_MAX, 0, INT_MIN, 0), 1);
}

} // namespace
