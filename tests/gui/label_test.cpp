#include "gfx/font.h"
#include "gfx/text.h"
#include "gui/label.h"
#include "tests/support/drawing_buffer.h"

#include <gtest/gtest.h>

namespace {

using testsupport::DrawingBuffer;

// What drawText alone makes of `text` at (4, 6) in white.
std::vector<Pixel> textAlone(const char* text)
{
    DrawingBuffer expected(60, 20);
    drawText(expected.canvas, 4, 6, font6x8, text, 0xFFFFFF);
    return expected.buffer;
}

std::vector<Pixel> drawLabel(Label& label)
{
    DrawingBuffer drawn(60, 20);
    label.draw(drawn.canvas);
    return drawn.buffer;
}

TEST(Label, CopiedTextKeepsItsContentsAndBorrowedTextFollowsTheCaller)
{
    char source[] = "Size";
    Label copied(4, 6, 0xFFFFFF, source, true);
    Label borrowed(4, 6, 0xFFFFFF, source, false);
    EXPECT_NE(copied.text, source);
    EXPECT_EQ(borrowed.text, source);
    EXPECT_EQ(borrowed.ownedText, nullptr);

    source[0] = 'B';
    EXPECT_EQ(drawLabel(copied), textAlone("Size"));
    EXPECT_EQ(drawLabel(borrowed), textAlone("Bize"));
    EXPECT_STREQ(source, "Bize"); // drawing never writes through a borrowed text
}

TEST(Label, FixedLabelWithoutTextDrawsNothing)
{
    Label copied(4, 6, 0xFFFFFF, nullptr, true);
    Label borrowed(4, 6, 0xFFFFFF, nullptr, false);
    Label noVariable(4, 6, 0xFFFFFF, (const int32_t*)nullptr);
    EXPECT_EQ(drawLabel(copied), DrawingBuffer(60, 20).buffer);
    EXPECT_EQ(drawLabel(borrowed), DrawingBuffer(60, 20).buffer);
    EXPECT_EQ(drawLabel(noVariable), DrawingBuffer(60, 20).buffer);
}

TEST(Label, SetTextReplacesAFixedTextWithItsOwnCopyAndLeavesValueLabels)
{
    char name[] = "texture000.bmp";
    Label borrowed(4, 6, 0xFFFFFF, name, false);
    ASSERT_TRUE(borrowed.setText("texture002.bmp"));
    EXPECT_NE(borrowed.text, name);
    EXPECT_STREQ(name, "texture000.bmp"); // the borrowed string is not written
    EXPECT_EQ(drawLabel(borrowed), textAlone("texture002.bmp"));
    ASSERT_TRUE(borrowed.setText("a"));
    EXPECT_EQ(drawLabel(borrowed), textAlone("a"));

    int32_t variable = 7;
    Label value(4, 6, 0xFFFFFF, &variable);
    EXPECT_FALSE(value.setText("x"));
    EXPECT_EQ(drawLabel(value), textAlone("7"));
}

TEST(Label, ValueLabelShowsTheVariableAsItIsAtEachDraw)
{
    int32_t variable = -127;
    Label label(4, 6, 0xFFFFFF, &variable);
    DrawingBuffer drawn(60, 20);
    label.draw(drawn.canvas);
    EXPECT_EQ(drawn.buffer, textAlone("-127"));
    // The first cell is the minus, glyph 41: ink in columns 1..4 of rows 3 and 4.
    for (int y = 6; y < 14; ++y)
        for (int x = 4; x < 10; ++x) {
            bool ink = (y == 9 || y == 10) && x >= 5 && x <= 8;
            EXPECT_EQ(drawn.at(x, y), ink ? 0xFFFFFFu : testsupport::BACKGROUND) << x << "," << y;
        }

    variable = 2048;
    EXPECT_EQ(drawLabel(label), textAlone("2048"));
    variable = -2147483647 - 1;
    drawLabel(label);
    EXPECT_STREQ(label.text, "-2147483648");
}

} // namespace
