// Distance on the wrap-around grid of a texture.
#pragma once

#include <cstdint>

// Rounded distance between two pixels of the texture of side `side`,
// measured across the edges where that is shorter: 0 .. 181 on the 256 grid.
// Coordinates wrap to the side.
int32_t torusDistance(int32_t side, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
