#include "png/png_export.h"

#include <csetjmp>
#include <gtest/gtest.h>
#include <png.h>

#include "tests/support/bmp_file.h"
#include "tests/support/png_file.h"
#include "tests/support/random_texture.h"
#include "texture/texture.h"
#ifndef _WIN32
#include "tests/support/file_size_limit.h"
#endif

using namespace testsupport;

namespace {

TEST(PngExport, DecodesToTheLow24BitsOfEveryPixelAsEightBitRgb)
{
    ScratchDirectory directory;
    std::vector<Pixel> pixels = randomTexture(11); // random top bytes too
    pixels[0] = 0x80000000u; // an empty cell comes out black
    std::string path = directory.file("texture.png");
    ASSERT_TRUE(saveTexturePng(pixels.data(), TEXTURE_SIZE, path.c_str()));
    EXPECT_EQ(listDirectory(directory.path).size(), 1u);

    // The header itself: bit depth 8, colour type 2 (RGB, no alpha).
    std::string bytes = readFile(path);
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(bytes[24], 8);
    EXPECT_EQ(bytes[25], 2);

    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    ASSERT_EQ(image.width, 256u);
    ASSERT_EQ(image.height, 256u);
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> decoded(256 * 256 * 3);
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, decoded.data(), 0, nullptr))
        << image.message;
    for (size_t i = 0; i < pixels.size(); ++i) {
        Pixel read
            = ((Pixel)decoded[i * 3] << 16) | ((Pixel)decoded[i * 3 + 1] << 8) | decoded[i * 3 + 2];
        ASSERT_EQ(read, pixels[i] & 0xFFFFFFu) << "pixel " << i;
    }
}

// Random 16-bit pixels with garbage in the top 16 bits.
std::vector<DeepPixel> randomDeepTexture(uint32_t seed, int32_t side)
{
    Noise noise(seed);
    std::vector<DeepPixel> pixels((size_t)side * side);
    for (DeepPixel& pixel : pixels)
        pixel = ((DeepPixel)noise.next() << 32) | noise.next();
    return pixels;
}

// Written with 8 bits, a 16-bit texture gives what its reduced pixels give,
// libpng's settings at the larger sides included.
TEST(PngExport, DeepTexturesWithEightBitsAreTheirPixelsReducedToNearest)
{
    ScratchDirectory directory;
    for (int32_t side : { 256, 512 }) {
        std::vector<DeepPixel> deep = randomDeepTexture(5, side);
        // (level, reduced): the turns between 0 and 1, 1 and 2, 254 and 255.
        const uint32_t levels[][2] = { { 0, 0 }, { 128, 0 }, { 129, 1 }, { 257, 1 }, { 385, 1 },
            { 386, 2 }, { 65406, 254 }, { 65407, 255 }, { 65535, 255 }, { 100 * 257, 100 } };
        std::vector<Pixel> expected(deep.size());
        for (size_t i = 0; i < deep.size(); ++i)
            expected[i] = reducedPixel(deep[i]);
        for (size_t i = 0; i < sizeof levels / sizeof levels[0]; ++i) {
            deep[i] = composeLevels<DeepPixel>(levels[i][0], 65535 - levels[i][0], 0);
            expected[i] = composeLevels<Pixel>(levels[i][1], 255 - levels[i][1], 0);
        }
        std::string reduced = pngBytes(directory.file("reduced.png"),
            [&](FILE* file) { return writeTexturePng(imageOf(deep.data(), side, 8), file); });
        std::string eightBit = pngBytes(directory.file("eight.png"),
            [&](FILE* file) { return writeTexturePng(imageOf(expected.data(), side), file); });
        EXPECT_TRUE(reduced == eightBit) << side;
        PngSamples read;
        ASSERT_TRUE(readPngSamples(directory.file("reduced.png"), read));
        EXPECT_EQ(read.bitDepth, 8);
        EXPECT_EQ(read.colorType, PNG_COLOR_TYPE_RGB);
        for (size_t i = 0; i < sizeof levels / sizeof levels[0]; ++i) {
            const uint32_t rgb[] = { levels[i][1], 255 - levels[i][1], 0 };
            for (size_t s = 0; s < 3; ++s)
                EXPECT_EQ(read.samples[i * 3 + s], rgb[s]) << "level " << levels[i][0];
        }
    }
}

TEST(PngExport, SixteenBitsHoldEveryLevelAndAreGreyOnlyWhenEveryPixelIs)
{
    ScratchDirectory directory;
    const int32_t side = 512;
    std::vector<DeepPixel> colour = randomDeepTexture(8, side);
    std::vector<DeepPixel> grey(colour.size());
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = (colour[i] & 0xFFFF000000000000ull) | greyOf<DeepPixel>(channelOf(colour[i], 1));
    std::vector<DeepPixel> lastNotGrey = grey;
    lastNotGrey.back() ^= 1;
    // One pixel in the middle whose red alone, or green alone, differs from
    // the other two channels: either is a colour.
    std::vector<DeepPixel> redDiffers = grey;
    redDiffers[grey.size() / 2] ^= (DeepPixel)1 << 32;
    std::vector<DeepPixel> greenDiffers = grey;
    greenDiffers[grey.size() / 2 + 1] ^= (DeepPixel)0x8000 << 16;

    struct Case {
        const char* name;
        const std::vector<DeepPixel>& pixels;
        int colorType;
    };
    for (const Case& test :
        { Case { "colour", colour, PNG_COLOR_TYPE_RGB }, Case { "grey", grey, PNG_COLOR_TYPE_GRAY },
            Case { "last not grey", lastNotGrey, PNG_COLOR_TYPE_RGB },
            Case { "red differs", redDiffers, PNG_COLOR_TYPE_RGB },
            Case { "green differs", greenDiffers, PNG_COLOR_TYPE_RGB } }) {
        std::string path = directory.file("deep.png");
        pngBytes(path, [&](FILE* file) {
            return writeTexturePng(imageOf(test.pixels.data(), side, 16), file);
        });
        PngSamples read;
        ASSERT_TRUE(readPngSamples(path, read)) << test.name;
        EXPECT_EQ(read.side, (png_uint_32)side);
        EXPECT_EQ(read.bitDepth, 16) << test.name;
        ASSERT_EQ(read.colorType, test.colorType) << test.name;
        const size_t perPixel = test.colorType == PNG_COLOR_TYPE_GRAY ? 1 : 3;
        ASSERT_EQ(read.samples.size(), test.pixels.size() * perPixel) << test.name;
        for (size_t i = 0; i < test.pixels.size(); ++i)
            for (size_t s = 0; s < perPixel; ++s)
                ASSERT_EQ(read.samples[i * perPixel + s],
                    channelOf(test.pixels[i], (uint32_t)(perPixel == 1 ? 0 : 2 - s)))
                    << test.name << ": pixel " << i << ", sample " << s;
    }
}

// A full disk is made with a file size limit, which only POSIX systems have.
#ifndef _WIN32
TEST(PngExport, AFullDiskIsReportedOnceAndKeepsThePreviousFile)
{
    ScratchDirectory directory;
    std::string path = directory.file("texture.png");
    std::vector<Pixel> previous = randomTexture(1), next = randomTexture(2);
    ASSERT_TRUE(saveTexturePng(previous.data(), TEXTURE_SIZE, path.c_str()));
    std::string before = readFile(path);

    // Random pixels do not compress: the PNG is far larger than the limit.
    ChildOutcome outcome = runWithFileSizeLimit(
        50000, [&] { return (int)saveTexturePng(next.data(), TEXTURE_SIZE, path.c_str()); });
    EXPECT_EQ(outcome.exitCode, 0) << "the save claimed success";
    EXPECT_EQ(outcome.errors, "Could not save " + path + ": File too large\n");
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(listDirectory(directory.path).size(), 1u);
}
#endif

void recordRows(void* context, int32_t rows)
{
    ((std::vector<int32_t>*)context)->push_back(rows);
}

// A long encode shows how far it has got: at the window's side each row is
// told once it is encoded (larger sides tell theirs band by band).
TEST(PngExport, TellsEachRowAsItIsEncoded)
{
    ScratchDirectory directory;
    std::vector<int32_t> rows;
    std::vector<Pixel> pixels(pixelCount(TEXTURE_SIZE), 0x336699);
    const TextureImage<Pixel> image { pixels.data(), TEXTURE_SIZE, 8, recordRows, &rows };
    FILE* file = fopen(directory.file("told.png").c_str(), "wb");
    ASSERT_TRUE(file);
    EXPECT_EQ(writeTexturePngData<Pixel>(&image, file), nullptr);
    fclose(file);
    ASSERT_EQ(rows.size(), (size_t)TEXTURE_SIZE);
    for (int32_t i = 0; i < TEXTURE_SIZE; ++i)
        ASSERT_EQ(rows[i], i + 1);
}

} // namespace
