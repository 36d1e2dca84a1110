#include "gui/color_picker.h"
#include "tests/support/drawing_buffer.h"

#include <gtest/gtest.h>

namespace {

using testsupport::DrawingBuffer;

struct Color {
    int32_t red, green, blue;
};

// The picker where the control panel puts it.
struct PickerAt530 : ::testing::Test {
    Color first { 10, 20, 30 };
    Color second { 40, 50, 60 };
    ColorPicker picker { 530, 315, &first.red, &first.green, &first.blue };
    DrawingBuffer screen { 800, 600 };
};

TEST_F(PickerAt530, PressesSetTheChannelUnderThePointer)
{
    picker.click(535, 318, true);
    EXPECT_EQ(first.red, 0);
    picker.click(790, 327, false); // any mouse button
    EXPECT_EQ(first.red, 255);
    picker.click(600, 347, true);
    EXPECT_EQ(first.blue, 65);
    picker.click(600, 328, true);
    EXPECT_EQ(first.green, 65);

    // The caps, outside the bands, and the row below the blue band.
    const int32_t misses[][2]
        = { { 791, 327 }, { 534, 318 }, { 792, 318 }, { 600, 317 }, { 600, 348 }, { 600, 349 } };
    for (const auto& point : misses) {
        picker.click(point[0], point[1], true);
        EXPECT_EQ(first.red, 255) << point[0] << "," << point[1];
        EXPECT_EQ(first.green, 65) << point[0] << "," << point[1];
        EXPECT_EQ(first.blue, 65) << point[0] << "," << point[1];
    }
}

TEST_F(PickerAt530, DrawsRampsCapsAndMarkersOfAPureRed)
{
    first = { 255, 0, 0 };
    picker.draw(screen.canvas);
    for (int i = 0; i < 256; ++i) {
        int32_t column = 535 + i;
        Pixel red = column == 790 ? 0xFFFFFF : (Pixel)i << 16;
        Pixel green = column == 535 ? 0xFFFFFF : 0xFF0000 + ((Pixel)i << 8);
        Pixel blue = column == 535 ? 0xFFFFFF : 0xFF0000 + (Pixel)i;
        for (int row = 0; row < 5; ++row) {
            ASSERT_EQ(screen.at(column, 320 + row), red) << column;
            ASSERT_EQ(screen.at(column, 330 + row), green) << column;
            ASSERT_EQ(screen.at(column, 340 + row), blue) << column;
        }
    }
    // Markers run 9 rows, from 2 above their bar to 2 below it.
    for (int row = 318; row < 327; ++row)
        EXPECT_EQ(screen.at(790, row), 0xFFFFFFu) << row;
    for (int row = 328; row < 337; ++row)
        EXPECT_EQ(screen.at(535, row), 0xFFFFFFu) << row;
    for (int row = 338; row < 347; ++row)
        EXPECT_EQ(screen.at(535, row), 0xFFFFFFu) << row;
    EXPECT_EQ(screen.at(790, 317), 0u);
    EXPECT_EQ(screen.at(790, 327), 0u);

    const int capColumns[] = { 532, 533, 534, 791, 792, 793 };
    for (int column : capColumns) {
        EXPECT_EQ(screen.at(column, 322), 0xFF0000u) << column;
        EXPECT_EQ(screen.at(column, 332), 0x00FF00u) << column;
        EXPECT_EQ(screen.at(column, 342), 0x0000FFu) << column;
    }
    EXPECT_EQ(screen.at(531, 322), 0u);
    EXPECT_EQ(screen.at(794, 322), 0u);
    // The black box covers 266 x 35 and nothing more.
    EXPECT_EQ(screen.at(530, 315), 0u);
    EXPECT_EQ(screen.at(795, 349), 0u);
    EXPECT_FALSE(screen.touched(529, 314, 268, 1));
    EXPECT_FALSE(screen.touched(529, 350, 268, 1));
    EXPECT_FALSE(screen.columnTouched(529));
    EXPECT_FALSE(screen.columnTouched(796));
}

TEST_F(PickerAt530, RebindingShowsAndEditsTheOtherColour)
{
    picker.bind(&second.red, &second.green, &second.blue);
    picker.draw(screen.canvas);
    EXPECT_EQ(screen.at(535 + 40, 318), 0xFFFFFFu); // red marker above its bar
    EXPECT_EQ(screen.at(535 + 50, 328), 0xFFFFFFu);
    EXPECT_EQ(screen.at(535 + 60, 338), 0xFFFFFFu);
    EXPECT_EQ(screen.at(535 + 100, 322), 0x64323Cu); // (100, 50, 60)
    EXPECT_EQ(screen.at(535 + 100, 332), 0x28643Cu); // (40, 100, 60)

    picker.click(600, 318, true);
    EXPECT_EQ(second.red, 65);
    EXPECT_EQ(first.red, 10);
    EXPECT_EQ(first.green, 20);
    EXPECT_EQ(first.blue, 30);
}

// Components set out of range elsewhere keep their markers inside the ramps.
TEST_F(PickerAt530, MarkersOfOutOfRangeComponentsStayOnTheRamps)
{
    first = { 300, -5, 1000 };
    DrawingBuffer wide(1600, 400); // room for where unclamped markers would land
    picker.draw(wide.canvas);
    EXPECT_EQ(wide.at(790, 318), 0xFFFFFFu);
    EXPECT_EQ(wide.at(535, 328), 0xFFFFFFu);
    EXPECT_EQ(wide.at(790, 338), 0xFFFFFFu);
    EXPECT_EQ(wide.at(530, 330), 0u);
    EXPECT_FALSE(wide.touched(796, 0, 800, 400));
}

} // namespace
