#include "texture/png_export.h"

#include <gtest/gtest.h>
#include <png.h>

#include "tests/support/bmp_file.h"
#include "tests/support/random_texture.h"
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

// A long encode shows how far it has got: each row is told once it is encoded.
TEST(PngExport, TellsEachRowAsItIsEncoded)
{
    ScratchDirectory directory;
    std::vector<int32_t> rows;
    for (int32_t side : { 256, 512 }) {
        std::vector<Pixel> pixels((size_t)side * side, 0x336699);
        const TextureImage image { pixels.data(), side, recordRows, &rows };
        FILE* file = fopen(directory.file("told.png").c_str(), "wb");
        ASSERT_TRUE(file);
        rows.clear();
        EXPECT_EQ(writeTexturePngData(&image, file), nullptr);
        fclose(file);
        ASSERT_EQ(rows.size(), (size_t)side);
        for (int32_t i = 0; i < side; ++i)
            ASSERT_EQ(rows[i], i + 1);
    }
}

} // namespace
