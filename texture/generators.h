// Base generators: each overwrites a whole 256 x 256 pixel array with a new
// seamless grey pattern.
#pragma once

#include "gfx/canvas.h"

// Grey distance to the nearest of `count` random points (at most 500):
// black on a point, white at `size` and beyond. A count below 0 counts as 0
// and a size below 1 as 1.
void generateCells(Pixel* pixels, int32_t count, int32_t size);

// Cloud pattern by recursive midpoint displacement. Fills only the cells that
// still hold EMPTY_PIXEL, so the caller empties the array first. A variation
// of 0 or below displaces nothing.
void generatePlasma(Pixel* pixels, int32_t variation);

// One square of the plasma with top-left (x, y) and side `size`; its right
// and bottom edges wrap around the texture. Coordinates wrap, a side above
// 256 counts as 256, and the amplitude size x variation saturates at the
// largest int.
void plasmaSubdivide(Pixel* pixels, int32_t x, int32_t y, int32_t size, int32_t variation);

// Midpoint level of an edge between levels a and b, displaced at random. An
// amplitude below 0 counts as 0, which takes no random number.
int32_t plasmaEdgeValue(int32_t a, int32_t b, int32_t amplitude);

// Centre level of a square with corner levels a, b, c, d, displaced at random.
int32_t plasmaCentreValue(int32_t a, int32_t b, int32_t c, int32_t d, int32_t amplitude);

// Light spot: white at (128, 128), falling linearly to black at radius `size`.
// A size below 1 counts as 1.
void generatePong(Pixel* pixels, int32_t size);

// Sum of a horizontal and a vertical sine wave with whole numbers of periods.
void generateSine(Pixel* pixels, int32_t wavesX, int32_t wavesY);
