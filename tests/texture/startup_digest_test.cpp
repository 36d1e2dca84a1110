// The four textures the tool shows at start-up, pinned by a digest of each,
// so any change to a generator or to the random sequence shows up here.

#include <gtest/gtest.h>
#include <vector>

#include "session/replay.h"
#include "tests/support/digest.h"
#include "tests/support/random_texture.h"
#include "texture/generators.h"
#include "texture/random.h"
#include "texture/texture.h"

namespace {

using testsupport::digest;

void expectStartUpTextures(const std::vector<Pixel> slots[4])
{
    EXPECT_EQ(digest(slots[0]), 0x493F25B4A3F61C67ull) << "cells";
    EXPECT_EQ(digest(slots[1]), 0x914B2731C49156BBull) << "plasma";
    EXPECT_EQ(digest(slots[2]), 0xBCBF9C6D9925311Cull) << "pong";
    EXPECT_EQ(digest(slots[3]), 0xBD706DB302F79A4Eull) << "sine";
    EXPECT_EQ(randomSeed, 716357048u) << "40 numbers for the cells, 65,535 for the plasma";
}

TEST(StartUpTextures, MatchTheirPinnedDigests)
{
    std::vector<Pixel> slots[4];
    for (std::vector<Pixel>& slot : slots)
        slot.assign(TEXTURE_PIXEL_COUNT, EMPTY_PIXEL);
    randomSeed = 1;
    generateCells(slots[0].data(), TEXTURE_SIZE, 20, 50);
    generatePlasma(slots[1].data(), TEXTURE_SIZE, 20);
    generatePong(slots[2].data(), TEXTURE_SIZE, 128);
    generateSine(slots[3].data(), TEXTURE_SIZE, 5, 7);
    expectStartUpTextures(slots);
}

// The start-up state a recipe replays from, reached from any slots and seed.
TEST(StartUpTextures, ResetToStartUpGivesThemFromAnyState)
{
    std::vector<Pixel> slots[4];
    Pixel* pixels[4];
    for (int32_t i = 0; i < 4; ++i) {
        slots[i] = testsupport::randomTexture(100 + i);
        pixels[i] = slots[i].data();
    }
    randomSeed = 12345;
    resetToStartUp(pixels);
    expectStartUpTextures(slots);
}

} // namespace
