// Drawing text with a bitmap font: ink pixels only, the background shows through.
#pragma once

#include "gfx/canvas.h"
#include "gfx/font.h"

// Draws one character with its top-left pixel at (x, y). Does not clip.
void drawGlyph(Canvas canvas, int32_t x, int32_t y, const Font& font, char character, Pixel color);

// Draws a zero-terminated string on one line; the pen advances glyphWidth + 1
// for every character, with or without a glyph. Does not clip.
void drawText(Canvas canvas, int32_t x, int32_t y, const Font& font, const char* text, Pixel color);
