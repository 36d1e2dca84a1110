#include "texture/random.h"

#include <gtest/gtest.h>

namespace {

TEST(RandomNumber, ZeroRangeReturnsZeroWithoutAdvancing)
{
    randomSeed = 1;
    EXPECT_EQ(randomNumber(0), 0u);
    EXPECT_EQ(randomSeed, 1u);
    EXPECT_EQ(randomNumber(1), 0u);
    EXPECT_EQ(randomSeed, 397204094u);
}

TEST(RandomNumber, FollowsTheFixedSequenceFromSeedOne)
{
    const uint32_t seeds[6]
        = { 397204094u, 354439908u, 430896184u, 330563896u, 725772088u, 942964112u };
    const uint32_t values[6] = { 126, 228, 56, 56, 56, 144 };
    randomSeed = 1;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(randomNumber(256), values[i]) << i;
        EXPECT_EQ(randomSeed, seeds[i]) << i;
    }
}

TEST(RandomNumber, StaysBelowTheRangeAndAdvancesOncePerCall)
{
    // The seed never reaches the modulus, so a range above it returns the seed.
    const uint32_t ranges[]
        = { 1u, 2u, 3u, 255u, 256u, 5120u, 950706375u, 950706377u, 0x7FFFFFFFu, 0xFFFFFFFFu };
    randomSeed = 1;
    for (int round = 0; round < 200; ++round) {
        for (uint32_t n : ranges) {
            uint32_t before = randomSeed;
            uint32_t value = randomNumber(n);
            uint32_t expectedSeed
                = (uint32_t)((uint64_t)before * 397204094u % 4294967296u) % 950706376u;
            ASSERT_EQ(randomSeed, expectedSeed);
            ASSERT_LT(value, n);
            ASSERT_EQ(value, expectedSeed % n);
        }
    }
}

TEST(RandomNumber, ResultsForTwoHundredFiftySixAreMultiplesOfEightFromTheThirdCall)
{
    randomSeed = 1;
    randomNumber(256);
    randomNumber(256);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(randomNumber(256) % 8, 0u) << i;
}

// A skip ends where drawing that many numbers one by one ends, from seeds
// whose sequences reach their cycles early and late, for counts short of
// the cycle, around it and far past it; and a held plasma's skip is quick.
TEST(RandomNumber, SkippingEndsWhereDrawingEnds)
{
    const uint32_t seeds[] = { 1, 2, 3, 29, 950706375u, 4294967295u, 4225635760u, 555555555u };
    const uint64_t counts[]
        = { 0, 1, 2, 1176, 1177, 1178, 6122, 40000, 66711, 66712, 66713, 100000, 3000017 };
    for (uint32_t seed : seeds) {
        for (uint64_t count : counts) {
            randomSeed = seed;
            for (uint64_t i = 0; i < count; ++i)
                randomNumber(7);
            const uint32_t drawn = randomSeed;
            randomSeed = seed;
            skipRandomNumbers(count);
            ASSERT_EQ(randomSeed, drawn) << "seed " << seed << ", " << count << " numbers";
        }
    }
    // From seed 1 the sequence comes back to its 1,160th number 6,122
    // numbers later. So 65,535 numbers a plasma, a million times over, end
    // where the rest of them modulo 6,122 end, drawn from there.
    randomSeed = 1;
    for (int i = 0; i < 1160; ++i)
        randomNumber(7);
    const uint32_t onCycle = randomSeed;
    for (int i = 0; i < 6122; ++i)
        randomNumber(7);
    ASSERT_EQ(randomSeed, onCycle);
    const uint64_t held = 65535ull * 1000000;
    for (uint64_t i = 0; i < (held - 1160) % 6122; ++i)
        randomNumber(7);
    const uint32_t drawn = randomSeed;
    randomSeed = 1;
    skipRandomNumbers(held);
    EXPECT_EQ(randomSeed, drawn);
}

} // namespace
