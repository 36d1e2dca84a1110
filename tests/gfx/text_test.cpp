#include "gfx/font.h"
#include "gfx/primitives.h"
#include "gfx/text.h"
#include "tests/support/drawing_buffer.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using testsupport::BACKGROUND;
using TestCanvas = testsupport::DrawingBuffer;

const Pixel INK = 0xFFFFFF;

std::vector<Pixel> render(const char* text)
{
    TestCanvas target(64, 40);
    drawText(target.canvas, 3, 5, font6x8, text, INK);
    return target.buffer;
}

TEST(Text, GlyphWritesItsInkAtItsPosition)
{
    TestCanvas target(64, 40);
    drawGlyph(target.canvas, 10, 20, font6x8, 'T', INK);
    // "T" rows: 3F 2D 0C 0C 0C 0C 0C 1E.
    const unsigned rows[8] = { 0x3F, 0x2D, 0x0C, 0x0C, 0x0C, 0x0C, 0x0C, 0x1E };
    for (int y = 0; y < target.canvas.height; ++y)
        for (int x = 0; x < target.canvas.width; ++x) {
            bool inCell = x >= 10 && x < 16 && y >= 20 && y < 28;
            bool ink = inCell && ((rows[y - 20] >> (15 - x)) & 1);
            ASSERT_EQ(target.at(x, y), ink ? INK : BACKGROUND) << x << "," << y;
        }
}

TEST(Text, SharedGlyphsDrawTheSamePixels)
{
    EXPECT_EQ(render("Max"), render("MAX"));
    EXPECT_EQ(render("0"), render("O"));
    EXPECT_EQ(render("["), render("1"));
    EXPECT_EQ(render("{"), render("1"));
    EXPECT_NE(render("1"), render("2"));
}

TEST(Text, CharactersWithoutGlyphsChangeNothing)
{
    std::vector<Pixel> blank = TestCanvas(64, 40).buffer;
    EXPECT_EQ(render(""), blank);
    EXPECT_EQ(render("  #=\n\t"), blank);
    EXPECT_EQ(render("\x80\xFF"), blank);
}

TEST(Text, CharacterCodesAreReadAsUnsigned)
{
    Font font = font6x8;
    font.charMap[0xC9] = font.charMap['H'];
    font.charMap[0xC9 & 0x7F] = font.charMap['T'];
    TestCanvas high(64, 40);
    TestCanvas letter(64, 40);
    drawText(high.canvas, 3, 5, font, "\xC9", INK);
    drawText(letter.canvas, 3, 5, font6x8, "H", INK);
    EXPECT_EQ(high.buffer, letter.buffer);
}

TEST(Text, PenAdvancesOneCellPerCharacter)
{
    TestCanvas target(64, 40);
    drawText(target.canvas, 10, 20, font6x8, "A B", INK);
    EXPECT_TRUE(target.columnTouched(10));
    EXPECT_TRUE(target.columnTouched(15));
    EXPECT_FALSE(target.columnTouched(9));
    EXPECT_FALSE(target.columnTouched(16));
    for (int x = 17; x <= 23; ++x)
        EXPECT_FALSE(target.columnTouched(x)) << x;
    // "B" has ink in its leftmost column on every row.
    for (int y = 20; y < 28; ++y)
        EXPECT_EQ(target.at(24, y), INK);
    EXPECT_FALSE(target.columnTouched(30));
}

TEST(Text, OnlyInkIsWrittenOverABox)
{
    TestCanvas target(64, 40);
    fillRect(target.canvas, 0, 0, 20, 12, 0x0000AA);
    drawText(target.canvas, 2, 2, font6x8, "-", INK);
    // "-" is ink only in columns 1..4 of rows 3 and 4 of its cell.
    int ink = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            bool expected = x >= 3 && x <= 6 && (y == 5 || y == 6);
            EXPECT_EQ(target.at(x, y), expected ? INK : 0x0000AAu) << x << "," << y;
            ink += expected;
        }
    EXPECT_EQ(ink, 8);
}

} // namespace
