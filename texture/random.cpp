#include "texture/random.h"

uint32_t randomSeed = 1;

uint32_t randomNumber(uint32_t n)
{
    if (n == 0)
        return 0;
    // Unsigned arithmetic: the product keeps its low 32 bits by definition.
    randomSeed = randomSeed * 397204094u;
    randomSeed = randomSeed % 950706376u;
    return randomSeed % n;
}
