#include "texture/random.h"

uint32_t randomSeed = 1;

namespace {

// One step of the generator. Unsigned arithmetic: the product keeps its low
// 32 bits by definition.
inline uint32_t nextSeed(uint32_t seed)
{
    return seed * 397204094u % 950706376u;
}

} // namespace

uint32_t randomNumber(uint32_t n)
{
    if (n == 0)
        return 0;
    randomSeed = nextSeed(randomSeed);
    return randomSeed % n;
}

void skipRandomNumbers(uint64_t count)
{
    uint32_t seed = randomSeed;
    for (uint64_t i = 0; i < count; ++i)
        seed = nextSeed(seed);
    randomSeed = seed;
}
