// Distance on the wrap-around 256 x 256 grid.
#pragma once

#include <cstdint>

// Rounded distance between two pixels, measured across the edges where that
// is shorter: 0 .. 181 for coordinates in 0..255.
int32_t torusDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
