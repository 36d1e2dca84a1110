// Runs, rectangles, bevelled frames and filled panels. None of them clips:
// the caller keeps every pixel it asks for inside the canvas.
#pragma once

#include "gfx/canvas.h"

// Writes `length` pixels from (x, y) to the right.
void drawHLine(Canvas canvas, int32_t x, int32_t y, int32_t length, Pixel color);

// Writes `length` pixels from (x, y) downwards.
void drawVLine(Canvas canvas, int32_t x, int32_t y, int32_t length, Pixel color);

// Fills columns x .. x+width-1 of rows y .. y+height-1.
void fillRect(Canvas canvas, int32_t x, int32_t y, int32_t width, int32_t height, Pixel color);

// Draws a three-ring frame (raised outer, flat middle, sunken inner) and
// leaves the interior untouched. Needs width and height of at least 4.
void drawBevel(Canvas canvas, int32_t x, int32_t y, int32_t width, int32_t height, Pixel color);

// Draws a bevel and fills its interior in the frame colour. Needs at least 6x6.
void drawFilledPanel(
    Canvas canvas, int32_t x, int32_t y, int32_t width, int32_t height, Pixel color);

// The shades of a bevel: each channel 64 lighter (capped at 255) or darker (floored at 0).
Pixel lightShade(Pixel color);
Pixel darkShade(Pixel color);
