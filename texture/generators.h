// Base generators: each overwrites a whole square pixel array of side
// `side` (a texture side, see texture.h) with a new seamless grey pattern,
// at either depth (see depth.h): white is the depth's largest level. Lengths
// are given as on the window's 256 x 256 texture and scale with the side,
// so every side shows the same pattern with more detail.
#pragma once

#include "texture/depth.h"
#include "texture/texture.h"

// The most points the cells take; each draws two random numbers.
const int32_t MAX_CELL_POINTS = 500;

// Random numbers one plasma draws with a variation of 1 or more: one per
// pixel of the 256 grid but the first.
const uint64_t PLASMA_RANDOM_NUMBERS = 65535;

// Grey distance to the nearest of `count` random points (at most 500):
// black on a point, white at `size` and beyond. A count below 0 counts as 0
// and a size below 1 as 1. The points are drawn on the 256 grid, x then y,
// and scaled with the side.
template <class P> void generateCells(P* pixels, int32_t side, int32_t count, int32_t size);

// Cloud pattern by recursive midpoint displacement. Fills only the cells that
// still hold the depth's empty marker, so the caller empties the array
// first. A variation of 0 or below displaces nothing. Draws 65,535 random
// numbers at every side (with a variation of 1 or more), and sampled at
// every (side / 256)-th pixel it is the 256 x 256 plasma at the same depth;
// the finer levels take their offsets from a hash of their pixel and the
// seed the call began with.
template <class P> void generatePlasma(P* pixels, int32_t side, int32_t variation);

// The same plasma through the code for any side, which generatePlasma uses
// for every side but the window's: the window's has a faster way of its
// own, held to these bits by the tests.
template <class P> void generatePlasmaForAnySide(P* pixels, int32_t side, int32_t variation);

// One square of the plasma with top-left (x, y) and side `size` on the
// texture of side `side`, drawing random numbers, and its quadrants down to
// the side 2 * side / 256; its right and bottom edges wrap around the
// texture. Coordinates wrap, a square larger than the texture counts as the
// whole texture, and the amplitude (size / (side / 256)) x variation
// saturates at the largest int.
template <class P>
void plasmaSubdivide(
    P* pixels, int32_t side, int32_t x, int32_t y, int32_t size, int32_t variation);

// Midpoint level of an edge between levels a and b, displaced at random and
// clamped to 0..most, the depth's largest level (how the offset counts at
// each depth: see plasma.cpp). An amplitude below 0 counts as 0, which
// takes no random number.
int32_t plasmaEdgeValue(int32_t a, int32_t b, int32_t amplitude, int32_t most = 255);

// Centre level of a square with corner levels a, b, c, d, displaced at random.
int32_t plasmaCentreValue(
    int32_t a, int32_t b, int32_t c, int32_t d, int32_t amplitude, int32_t most = 255);

// Light spot: white at the centre (side / 2, side / 2), falling linearly to
// black at radius `size`. A size below 1 counts as 1.
template <class P> void generatePong(P* pixels, int32_t side, int32_t size);

// Sum of a horizontal and a vertical sine wave with whole numbers of periods.
template <class P> void generateSine(P* pixels, int32_t side, int32_t wavesX, int32_t wavesY);
