// Bitmap fonts: compiled-in glyphs, one byte per pixel.
#pragma once

#include <cstdint>

// Glyph g starts at byte g * glyphWidth * glyphHeight of `glyphs` and holds
// glyphHeight rows of glyphWidth bytes; a nonzero byte is ink.
struct Font {
    int32_t glyphWidth;
    int32_t glyphHeight;
    uint8_t charMap[256]; // glyph number per character code; NO_GLYPH draws nothing
    const uint8_t* glyphs;
};

const uint8_t NO_GLYPH = 255;

// The tool's one font: 6 x 8 pixels, capitals only, lower case shares them.
extern const Font font6x8;
