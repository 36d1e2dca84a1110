#include "texture/texture.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(Texture, StartsWithEveryCellEmpty)
{
    Texture texture(256, 256);
    ASSERT_NE(texture.getPixels(), nullptr);
    EXPECT_EQ(texture.getWidth(), 256);
    EXPECT_EQ(texture.getHeight(), 256);
    for (int i = 0; i < 65536; ++i)
        ASSERT_EQ(texture.getPixels()[i], 0x80000000u) << i;
}

// Blits onto an 800x600 canvas and counts the canvas pixels that changed.
int blitAndCount(const Texture& texture, int x, int y)
{
    std::vector<Pixel> buffer(800 * 600, 0x404040);
    Canvas canvas { buffer.data(), 800, 600, 800 };
    texture.blit(canvas, x, y);
    int changed = 0;
    for (Pixel pixel : buffer)
        changed += pixel != 0x404040;
    return changed;
}

TEST(Texture, BlitDrawsOnlyWhenAColumnAndARowRemainFree)
{
    Texture texture(256, 256);
    EXPECT_EQ(blitAndCount(texture, 543, 0), 65536);
    EXPECT_EQ(blitAndCount(texture, 544, 0), 0);
    EXPECT_EQ(blitAndCount(texture, 0, 343), 65536);
    EXPECT_EQ(blitAndCount(texture, 0, 344), 0);
    EXPECT_EQ(blitAndCount(texture, -1, 0), 0);
    EXPECT_EQ(blitAndCount(texture, 0, -1), 0);
}

TEST(Texture, BlitCopiesRowsUnchangedIntoAPitchedCanvas)
{
    Texture texture(256, 256);
    Pixel* pixels = texture.getPixels();
    for (int i = 0; i < 65536; ++i)
        pixels[i] = (Pixel)i * 7919u;
    pixels[5] = EMPTY_PIXEL;
    const int pitch = 300;
    std::vector<Pixel> buffer((size_t)pitch * 270, 1);
    Canvas canvas { buffer.data(), 290, 270, pitch };
    texture.blit(canvas, 4, 9);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(buffer[(size_t)(y + 9) * pitch + x + 4], pixels[y * 256 + x]);
    EXPECT_EQ(buffer[9 * pitch + 4 + 5], EMPTY_PIXEL); // copied as it is; shows black
    EXPECT_EQ(buffer[9 * pitch + 3], 1u);
    EXPECT_EQ(buffer[9 * pitch + 260], 1u);
}

} // namespace
