// The four textures the tool shows at start-up, pinned by a digest of each,
// so any change to a generator or to the random sequence shows up here.

#include <gtest/gtest.h>
#include <vector>

#include "texture/generators.h"
#include "texture/random.h"
#include "texture/texture.h"

namespace {

// 64-bit FNV-1a over the pixels' bytes, lowest byte of each pixel first.
uint64_t digest(const std::vector<Pixel>& pixels)
{
    uint64_t hash = 14695981039346656037ull;
    for (Pixel pixel : pixels) {
        for (int32_t shift = 0; shift < 32; shift += 8) {
            hash ^= (pixel >> shift) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
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
