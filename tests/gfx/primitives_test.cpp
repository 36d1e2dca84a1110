#include "gfx/primitives.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

const Pixel BACKGROUND = 0x123456;

// A canvas with a pitch wider than its width, so row stepping is exercised.
struct TestCanvas {
    std::vector<Pixel> buffer;
    Canvas canvas;
    TestCanvas(int32_t width, int32_t height, int32_t pitch)
        : buffer((size_t)pitch * height, BACKGROUND)
        , canvas { buffer.data(), width, height, pitch }
    {
    }
    Pixel at(int32_t x, int32_t y) const { return buffer[(size_t)y * canvas.pitch + x]; }
    int changedCount() const
    {
        int count = 0;
        for (Pixel pixel : buffer)
            count += pixel != BACKGROUND;
        return count;
    }
};

TEST(Primitives, RunsAndRectanglesWriteExactlyTheirPixels)
{
    TestCanvas target(40, 30, 48);
    drawHLine(target.canvas, 3, 4, 5, 0xAA);
    drawVLine(target.canvas, 10, 2, 6, 0xBB);
    fillRect(target.canvas, 20, 10, 4, 3, 0xCC);
    EXPECT_EQ(target.changedCount(), 5 + 6 + 12);
    for (int x = 3; x < 8; ++x)
        EXPECT_EQ(target.at(x, 4), 0xAAu);
    for (int y = 2; y < 8; ++y)
        EXPECT_EQ(target.at(10, y), 0xBBu);
    for (int y = 10; y < 13; ++y)
        for (int x = 20; x < 24; ++x)
            EXPECT_EQ(target.at(x, y), 0xCCu);
}

TEST(Primitives, ZeroAndNegativeSizesWriteNothing)
{
    TestCanvas target(20, 20, 20);
    drawHLine(target.canvas, 5, 5, 0, 1);
    drawVLine(target.canvas, 5, 5, 0, 1);
    fillRect(target.canvas, 5, 5, 0, 4, 1);
    fillRect(target.canvas, 5, 5, 4, 0, 1);
    drawHLine(target.canvas, 5, 5, -3, 1);
    drawVLine(target.canvas, 5, 5, -3, 1);
    fillRect(target.canvas, 5, 5, -2, -2, 1);
    EXPECT_EQ(target.changedCount(), 0);
}

TEST(Primitives, BevelShadesArePerChannelAndClamped)
{
    EXPECT_EQ(lightShade(0x808080), 0xC0C0C0u);
    EXPECT_EQ(darkShade(0x808080), 0x404040u);
    EXPECT_EQ(lightShade(0x8080FF), 0xC0C0FFu);
    EXPECT_EQ(darkShade(0x8080FF), 0x4040BFu);
    EXPECT_EQ(lightShade(0x000000), 0x404040u);
    EXPECT_EQ(darkShade(0x000000), 0x000000u);
    // The top byte plays no part.
    EXPECT_EQ(lightShade(0xFF102030), 0x506070u);
}

TEST(Primitives, BevelRingsAndCornersFollowTheRunOrder)
{
    const Pixel color = 0x808080, light = 0xC0C0C0, dark = 0x404040;
    TestCanvas target(300, 300, 300);
    drawBevel(target.canvas, 1, 1, 262, 262, color);
    // Outer ring: raised, with the top-right and bottom-left corners dark.
    EXPECT_EQ(target.at(1, 1), light);
    EXPECT_EQ(target.at(100, 1), light);
    EXPECT_EQ(target.at(1, 100), light);
    EXPECT_EQ(target.at(262, 1), dark);
    EXPECT_EQ(target.at(1, 262), dark);
    EXPECT_EQ(target.at(262, 262), dark);
    EXPECT_EQ(target.at(100, 262), dark);
    // Middle ring: flat.
    EXPECT_EQ(target.at(2, 2), color);
    EXPECT_EQ(target.at(261, 100), color);
    EXPECT_EQ(target.at(100, 261), color);
    // Inner ring: sunken, top-left dark, the other three corners light.
    EXPECT_EQ(target.at(3, 3), dark);
    EXPECT_EQ(target.at(100, 3), dark);
    EXPECT_EQ(target.at(260, 3), light);
    EXPECT_EQ(target.at(3, 260), light);
    EXPECT_EQ(target.at(260, 260), light);
    // The 256x256 interior and everything outside the frame stay untouched.
    EXPECT_EQ(target.changedCount(), 262 * 262 - 256 * 256);
    for (int y = 4; y <= 259; ++y)
        for (int x = 4; x <= 259; ++x)
            ASSERT_EQ(target.at(x, y), BACKGROUND) << x << "," << y;
}

TEST(Primitives, FilledPanelFillsExactlyUpToTheInnerRing)
{
    TestCanvas target(40, 30, 40);
    drawFilledPanel(target.canvas, 5, 6, 18, 13, 0x8080FF);
    EXPECT_EQ(target.changedCount(), 18 * 13);
    EXPECT_EQ(target.at(7, 8), 0x4040BFu); // inner ring, top-left
    for (int y = 9; y <= 6 + 13 - 4; ++y)
        for (int x = 8; x <= 5 + 18 - 4; ++x)
            ASSERT_EQ(target.at(x, y), 0x8080FFu) << x << "," << y;
}

} // namespace
