#include "gfx/font.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

// The glyph shapes written out independently, one string per glyph: each row
// a 6-bit hex number, 0x20 the leftmost pixel.
const char* const EXPECTED_ROWS[48] = {
    "1E 33 33 33 3F 33 33 33",
    "3E 33 33 3E 33 33 33 3E",
    "0E 1B 31 30 30 31 1B 0E",
    "3C 36 33 33 33 33 36 3C",
    "3F 33 30 3E 30 30 33 3F",
    "3F 33 30 3E 30 30 30 30",
    "0E 1B 30 30 37 33 1B 0E",
    "33 33 33 3F 33 33 33 33",
    "1E 0C 0C 0C 0C 0C 0C 1E",
    "0F 06 06 06 06 36 36 1C",
    "31 33 36 3C 3C 36 33 33",
    "30 30 30 30 30 30 33 3F",
    "31 1B 1F 15 15 15 15 35",
    "33 33 3B 3F 37 33 33 33",
    "1E 33 33 33 33 33 33 1E",
    "3E 33 33 3E 30 30 30 30",
    "1E 33 33 33 37 37 33 1F",
    "3E 33 33 3E 36 33 33 33",
    "1F 30 30 1E 03 03 33 1E",
    "3F 2D 0C 0C 0C 0C 0C 1E",
    "33 33 33 33 33 33 33 1E",
    "33 33 33 1B 1B 1B 1B 0E",
    "33 11 11 15 15 15 1F 0A",
    "33 33 1E 0C 0C 1E 33 33",
    "33 33 1E 0C 0C 0C 0C 1E",
    "3F 33 06 0C 18 30 33 3F",
    "0C 1C 1C 0C 0C 0C 0C 1E",
    "1E 33 03 06 0C 18 30 3F",
    "1E 33 03 0E 03 03 33 1E",
    "06 0E 1E 36 36 3F 06 06",
    "3F 30 30 3E 03 03 33 1E",
    "1F 30 30 3E 33 33 33 1E",
    "3F 33 03 06 06 0C 0C 0C",
    "1E 33 33 1E 33 33 33 1E",
    "1E 33 33 1F 03 03 33 1E",
    "00 00 00 00 00 00 0C 0C",
    "00 00 00 00 00 00 0C 18",
    "00 00 0C 0C 00 00 0C 0C",
    "00 00 0C 0C 00 00 0C 18",
    "0C 0C 0C 0C 0C 00 0C 0C",
    "1C 36 06 0C 0C 00 0C 0C",
    "00 00 00 1E 1E 00 00 00",
    "06 0C 0C 0C 0C 0C 0C 06",
    "0C 06 06 06 06 06 06 0C",
    "00 2A 1C 3E 1C 2A 08 00",
    "00 0C 0C 3F 3F 0C 0C 00",
    "03 06 06 0C 0C 18 18 30",
    "00 00 00 00 00 00 00 00",
};

TEST(Font, EveryGlyphMatchesItsRows)
{
    ASSERT_EQ(font6x8.glyphWidth, 6);
    ASSERT_EQ(font6x8.glyphHeight, 8);
    for (int glyph = 0; glyph < 48; ++glyph) {
        const uint8_t* bytes = font6x8.glyphs + glyph * 48;
        for (int row = 0; row < 8; ++row) {
            unsigned expected
                = (unsigned)std::stoul(std::string(EXPECTED_ROWS[glyph] + row * 3, 2), nullptr, 16);
            for (int column = 0; column < 6; ++column) {
                uint8_t ink = (expected >> (5 - column)) & 1;
                ASSERT_EQ(bytes[row * 6 + column], ink)
                    << "glyph " << glyph << " row " << row << " column " << column;
            }
        }
    }
}

TEST(Font, CharacterMap)
{
    const char* punctuation = ".,:;!?-()*+/";
    int mapped = 0;
    for (int code = 0; code < 256; ++code) {
        int expected = 255;
        if (code >= 'A' && code <= 'Z')
            expected = code - 'A';
        else if (code >= 'a' && code <= 'z')
            expected = code - 'a';
        else if (code == '0')
            expected = 14;
        else if (code >= '1' && code <= '9')
            expected = 26 + code - '1';
        else if (code == '[' || code == '{')
            expected = 26;
        else if (code != 0 && std::strchr(punctuation, code) != nullptr)
            expected = 35 + (int)(std::strchr(punctuation, code) - punctuation);
        EXPECT_EQ(font6x8.charMap[code], expected) << "code " << code;
        mapped += expected != 255;
    }
    EXPECT_EQ(mapped, 26 * 2 + 10 + 2 + 12);
}

} // namespace
