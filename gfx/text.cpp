#include "gfx/text.h"

void drawGlyph(Canvas canvas, int32_t x, int32_t y, const Font& font, char character, Pixel color)
{
    uint8_t glyph = font.charMap[(uint8_t)character];
    if (glyph == NO_GLYPH)
        return;
    const uint8_t* source = font.glyphs + (intptr_t)glyph * font.glyphWidth * font.glyphHeight;
    Pixel* row = canvas.pixels + (intptr_t)y * canvas.pitch + x;
    for (int32_t r = 0; r < font.glyphHeight; ++r, row += canvas.pitch)
        for (int32_t c = 0; c < font.glyphWidth; ++c, ++source)
            if (*source != 0)
                row[c] = color;
}

void drawText(Canvas canvas, int32_t x, int32_t y, const Font& font, const char* text, Pixel color)
{
    for (; *text != 0; ++text, x += font.glyphWidth + 1)
        drawGlyph(canvas, x, y, font, *text, color);
}
