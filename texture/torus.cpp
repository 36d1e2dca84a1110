#include "texture/torus.h"

#include <cmath>

// Difference of two coordinates along one axis of the torus, 0 .. side / 2.
static int32_t foldedDifference(int32_t side, int32_t a, int32_t b)
{
    // Coordinates wrap to the low bits like everywhere else on the texture;
    // unsigned, so no argument can overflow.
    int32_t d = (int32_t)(((uint32_t)a - (uint32_t)b) & (uint32_t)(side - 1));
    return d > side / 2 ? side - d : d;
}

int32_t torusDistance(int32_t side, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    int32_t dx = foldedDifference(side, x1, x2);
    int32_t dy = foldedDifference(side, y1, y2);
    return (int32_t)(sqrt((double)(dx * dx + dy * dy)) + 0.5);
}
