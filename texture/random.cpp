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
    randomSeed = seedAfterSkipping(randomSeed, count);
}

uint32_t seedAfterSkipping(uint32_t seed, uint64_t count)
{
    // From any seed the generator soon runs round a short cycle: of 200,000
    // seeds tried, every one was on a cycle of at most 6,122 numbers within
    // 67,000 steps. A plasma held for a million frames skips 65 billion
    // numbers, so the seed is stepped only until the cycle is found, by
    // Brent's method; the hare is then on it, and what is left of the skip
    // is taken modulo the distance between the two.
    uint32_t tortoise = seed;
    uint32_t hare = seed;
    uint64_t done = 0;
    uint64_t power = 1;
    uint64_t length = 0; // steps of the hare since the tortoise last moved
    while (done < count) {
        hare = nextSeed(hare);
        ++done;
        ++length;
        if (hare == tortoise) {
            count = done + (count - done) % length;
            break;
        }
        if (length == power) {
            tortoise = hare;
            power *= 2;
            length = 0;
        }
    }
    for (; done < count; ++done)
        hare = nextSeed(hare);
    return hare;
}
