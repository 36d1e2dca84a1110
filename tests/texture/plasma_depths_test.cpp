// One plasma at both depths: the 16-bit plasma draws the 8-bit one's offsets
// and counts each step 257 levels, so reduced to 8 bits it is the same cloud,
// a few levels off where the 8-bit averages truncated.

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

#include "texture/depth.h"
#include "texture/generators.h"
#include "texture/random.h"

namespace {

template <class P> std::vector<P> plasma(uint32_t seed, int32_t side, int32_t variation)
{
    std::vector<P> pixels((size_t)side * side, Depth<P>::EMPTY);
    randomSeed = seed;
    generatePlasma(pixels.data(), side, variation);
    return pixels;
}

// A change of the offsets' scale or order at either depth, or a hash taken
// at the wrong scale on the fine levels, makes the clouds unrelated: their
// levels then differ by tens of levels almost everywhere.
TEST(PlasmaDepths, TheDeepPlasmaReducedStaysWithinThreeLevelsOfTheShallowOne)
{
    for (int32_t side : { 256, 1024 }) {
        for (int32_t variation : { 4, 20, 64, 100, 128 }) {
            for (uint32_t seed : { 1u, 4242u, 3000000019u }) {
                SCOPED_TRACE(
                    testing::Message() << side << " variation " << variation << " seed " << seed);
                std::vector<Pixel> shallow = plasma<Pixel>(seed, side, variation);
                const uint32_t shallowSeed = randomSeed;
                std::vector<DeepPixel> deep = plasma<DeepPixel>(seed, side, variation);
                ASSERT_EQ(randomSeed, shallowSeed) << "the same random numbers";
                int32_t farthest = 0;
                int64_t total = 0;
                for (size_t i = 0; i < deep.size(); ++i) {
                    int32_t difference = std::abs(
                        (int32_t)(reducedPixel(deep[i]) & 0xFF) - (int32_t)(shallow[i] & 0xFF));
                    farthest = std::max(farthest, difference);
                    total += difference;
                }
                EXPECT_LE(farthest, 3);
                // On average under two levels: the 8-bit means truncate,
                // which at small variations draws the cloud a level darker.
                EXPECT_LT((double)total / (double)deep.size(), 2.0);
            }
        }
    }
}

} // namespace
