// The four textures the tool shows at start-up, pinned by a digest of each,
// so any change to a generator or to the random sequence shows up here.

#include <gtest/gtest.h>
#include <vector>

#include "tests/support/digest.h"
#include "texture/generators.h"
#include "texture/random.h"
#include "texture/texture.h"

namespace {

uint64_t digest(const std::vector<Pixel>& pixels)
{
    return testsupport::digestPixels(pixels.data(), pixels.size());
}

TEST(StartUpTextures, MatchTheirPinnedDigests)
{
    std::vector<Pixel> slots[4];
    for (std::vector<Pixel>& slot : slots)
        slot.assign(TEXTURE_PIXEL_COUNT, EMPTY_PIXEL);
    randomSeed = 1;
    generateCells(slots[0].data(), 20, 50);
    generatePlasma(slots[1].data(), 20);
    generatePong(slots[2].data(), 128);
    generateSine(slots[3].data(), 5, 7);

    EXPECT_EQ(digest(slots[0]), 0x493F25B4A3F61C67ull) << "cells";
    EXPECT_EQ(digest(slots[1]), 0x914B2731C49156BBull) << "plasma";
    EXPECT_EQ(digest(slots[2]), 0xBCBF9C6D9925311Cull) << "pong";
    EXPECT_EQ(digest(slots[3]), 0xBD706DB302F79A4Eull) << "sine";
    EXPECT_EQ(randomSeed, 716357048u) << "40 numbers for the cells, 65,535 for the plasma";
}

} // namespace
