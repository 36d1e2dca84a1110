// The PNGs above the window's side, compressed in bands on every thread:
// the same bytes with any number of threads, and every sample read back by
// libpng, across band boundaries, for every filter.
#include "png/png_bands.h"

#include <gtest/gtest.h>

#include "png/png_export.h"
#include "tests/support/digest.h"
#include "tests/support/png_file.h"
#include "tests/support/random_texture.h"
#include "texture/parallel.h"
#ifndef _WIN32
#include "tests/support/file_size_limit.h"
#endif

using namespace testsupport;

namespace {

// Smooth ramps with a little noise, like a picture: they compress, yet
// every row differs from the one above. Garbage in the top 16 bits.
std::vector<DeepPixel> pictureLike(int32_t side, uint32_t seed, bool grey)
{
    Noise noise(seed);
    std::vector<DeepPixel> pixels((size_t)side * side);
    for (int32_t y = 0; y < side; ++y)
        for (int32_t x = 0; x < side; ++x) {
            const uint32_t ramp = (uint32_t)(x * 40 + y * 17) + noise.next() % 64;
            const uint32_t red = ramp & 0xFFFF;
            const uint32_t green = grey ? red : (ramp * 3 + (uint32_t)y) & 0xFFFF;
            const uint32_t blue = grey ? red : (noise.next() & 0xFFFF);
            pixels[(size_t)y * side + x] = ((DeepPixel)noise.next() << 48) | ((DeepPixel)red << 32)
                | ((DeepPixel)green << 16) | blue;
        }
    return pixels;
}

// The sample libpng gives back for pixel `i`'s sample `s`, as written with
// `bits` bits, one sample per pixel when `grey`.
uint32_t expectedSample(DeepPixel pixel, int32_t bits, bool grey, size_t s)
{
    const uint32_t channel = grey ? 0 : (uint32_t)(2 - s);
    if (bits == 16)
        return channelOf(pixel, channel);
    return (reducedPixel(pixel) >> (8 * channel)) & 0xFF;
}

// Checks a written PNG sample for sample against the pixels it came from.
void expectReadsBack(const std::string& path, const std::vector<DeepPixel>& pixels, int32_t side,
    int32_t bits, bool grey, const std::string& what)
{
    PngSamples read;
    ASSERT_TRUE(readPngSamples(path, read)) << what;
    ASSERT_EQ(read.side, (png_uint_32)side) << what;
    ASSERT_EQ(read.bitDepth, bits) << what;
    ASSERT_EQ(read.colorType, grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB) << what;
    const size_t perPixel = grey ? 1 : 3;
    ASSERT_EQ(read.samples.size(), pixels.size() * perPixel) << what;
    for (size_t i = 0; i < pixels.size(); ++i)
        for (size_t s = 0; s < perPixel; ++s)
            ASSERT_EQ(read.samples[i * perPixel + s], expectedSample(pixels[i], bits, grey, s))
                << what << ": pixel " << i << ", sample " << s;
}

// The three kinds of PNG the renderer writes above the window's side.
struct Kind {
    const char* name;
    int32_t bits;
    bool grey;
};
const Kind KINDS[]
    = { { "8-bit RGB", 8, false }, { "16-bit RGB", 16, false }, { "16-bit grey", 16, true } };

// Writes `pixels` as the renderer would for the kind, on `threads` threads.
std::string writtenOn(int32_t threads, const std::string& path,
    const std::vector<DeepPixel>& pixels, int32_t side, const Kind& kind)
{
    setOperationThreads(threads);
    std::string bytes = pngBytes(path,
        [&](FILE* file) { return writeTexturePng(imageOf(pixels.data(), side, kind.bits), file); });
    setOperationThreads(1);
    return bytes;
}

TEST(PngBands, OneTwoAndEightThreadsWriteTheSameBytesThatReadBackSampleForSample)
{
    ScratchDirectory directory;
    for (int32_t side : { 512, 2048 })
        for (const Kind& kind : KINDS) {
            const std::vector<DeepPixel> pixels = pictureLike(side, (uint32_t)side, kind.grey);
            const std::string what = std::string(kind.name) + " at " + std::to_string(side);
            const std::string path = directory.file("bands.png");
            const std::string one = writtenOn(1, path, pixels, side, kind);
            EXPECT_TRUE(writtenOn(2, path, pixels, side, kind) == one) << what;
            EXPECT_TRUE(writtenOn(8, path, pixels, side, kind) == one) << what;
            expectReadsBack(path, pixels, side, kind.bits, kind.grey, what);
        }
}

// An 8-bit texture takes the same path as a 16-bit one written with 8 bits.
TEST(PngBands, EightBitTexturesGiveWhatTheirDeepTwinsGiveWithEightBits)
{
    ScratchDirectory directory;
    const int32_t side = 1024;
    std::vector<DeepPixel> deep = pictureLike(side, 3, false);
    std::vector<Pixel> eightBit(deep.size());
    for (size_t i = 0; i < deep.size(); ++i)
        eightBit[i] = reducedPixel(deep[i]) | ((Pixel)i << 24);
    setOperationThreads(2);
    std::string fromDeep = pngBytes(directory.file("deep.png"),
        [&](FILE* file) { return writeTexturePng(imageOf(deep.data(), side, 8), file); });
    std::string fromEight = pngBytes(directory.file("eight.png"),
        [&](FILE* file) { return writeTexturePng(imageOf(eightBit.data(), side), file); });
    setOperationThreads(1);
    EXPECT_TRUE(fromDeep == fromEight);
}

// Each filter, and the per-row choice among all five, decodes to the
// samples, compressed by zlib and by libdeflate: an image of one band and
// one of several, grey and RGB, 8 and 16 bits, each with its own bytes per
// pixel.
TEST(PngBands, EveryFilterReadsBackInOneBandAndInMany)
{
    ScratchDirectory directory;
    const Kind kinds[] = { KINDS[0], KINDS[1], KINDS[2], { "8-bit grey", 8, true } };
    for (int32_t side : { 512, 1024 })
        for (const Kind& kind : kinds) {
            const std::vector<DeepPixel> pixels = pictureLike(side, 7, kind.grey);
            // The writer's own row filler would reduce 8-bit samples; a
            // row filler of the test's own keeps the check independent.
            struct Rows {
                const std::vector<DeepPixel>* pixels;
                int32_t side;
                Kind kind;
            } rows { &pixels, side, kind };
            auto fill = [](const void* image, int32_t y, uint8_t* row) {
                const Rows& r = *(const Rows*)image;
                const size_t perPixel = r.kind.grey ? 1 : 3;
                for (int32_t x = 0; x < r.side; ++x)
                    for (size_t s = 0; s < perPixel; ++s) {
                        uint32_t sample = expectedSample(
                            (*r.pixels)[(size_t)y * r.side + x], r.kind.bits, r.kind.grey, s);
                        if (r.kind.bits == 16)
                            *row++ = (uint8_t)(sample >> 8);
                        *row++ = (uint8_t)sample;
                    }
            };
            const BandedPng png { side, kind.bits, kind.grey, fill, &rows, nullptr, nullptr };
            const int32_t bands = (side + rowsPerBand(side, kind.bits, kind.grey) - 1)
                / rowsPerBand(side, kind.bits, kind.grey);
            EXPECT_EQ(bands > 1, side == 1024 || kind.bits * (kind.grey ? 1 : 3) >= 48)
                << kind.name << " at " << side << " in " << bands << " bands";
            for (PngRowFilter filter : { PNG_ROWS_NONE, PNG_ROWS_SUB, PNG_ROWS_UP, PNG_ROWS_AVERAGE,
                     PNG_ROWS_PAETH, PNG_ROWS_LEAST_SUM })
                for (PngCompressor compressor : { PNG_ZLIB, PNG_LIBDEFLATE }) {
                    const std::string path = directory.file("filtered.png");
                    setOperationThreads(2);
                    pngBytes(path, [&](FILE* file) {
                        return writeBandedPng(
                            png, { filter, 1, PNG_MATCH_ANYWHERE, compressor }, file);
                    });
                    setOperationThreads(1);
                    expectReadsBack(path, pixels, side, kind.bits, kind.grey,
                        std::string(kind.name) + " at " + std::to_string(side) + ", filter "
                            + nameOfRowFilter(filter)
                            + (compressor == PNG_LIBDEFLATE ? ", libdeflate" : ", zlib"));
                }
        }
}

// The bytes of a parallel PNG are pinned: a change of filter, level, band
// size or chunking shows here first.
TEST(PngBands, APngWrittenOnFourThreadsKeepsItsBytes)
{
    ScratchDirectory directory;
    const std::vector<DeepPixel> pixels = pictureLike(1024, 11, false);
    const std::string bytes = writtenOn(4, directory.file("pinned.png"), pixels, 1024, KINDS[1]);
    uint64_t hash = FNV_OFFSET_BASIS;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    EXPECT_EQ(bytes.size(), 4139059u);
    EXPECT_EQ(hash, 6719096706000205560ull);
}

void recordRows(void* context, int32_t rows)
{
    ((std::vector<int32_t>*)context)->push_back(rows);
}

// The progress line moves as bands reach the file, in order, up to the last row.
TEST(PngBands, TellsTheRowsOfEachBandInOrderAsItIsWritten)
{
    ScratchDirectory directory;
    const int32_t side = 2048;
    const std::vector<DeepPixel> pixels = pictureLike(side, 5, false);
    std::vector<int32_t> rows;
    const TextureImage<DeepPixel> image { pixels.data(), side, 16, recordRows, &rows };
    setOperationThreads(8);
    pngBytes(directory.file("told.png"),
        [&](FILE* file) { return writeTexturePngData<DeepPixel>(&image, file); });
    setOperationThreads(1);
    const int32_t band = rowsPerBand(side, 16, false);
    ASSERT_EQ(rows.size(), (size_t)((side + band - 1) / band));
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i], std::min(side, (int32_t)(i + 1) * band)) << i;
}

#ifndef _WIN32
// A write that fails part way stops every thread and is reported once.
TEST(PngBands, AFullDiskStopsTheBandsAndIsReported)
{
    ScratchDirectory directory;
    std::string path = directory.file("texture.png");
    std::vector<Pixel> pixels = randomTexture(3, 2048);
    ChildOutcome outcome = runWithFileSizeLimit(3000000, [&] {
        setOperationThreads(4);
        return (int)saveTexturePng(pixels.data(), 2048, path.c_str());
    });
    EXPECT_EQ(outcome.exitCode, 0) << "the save claimed success";
    EXPECT_EQ(outcome.errors, "Could not save " + path + ": File too large\n");
    EXPECT_TRUE(listDirectory(directory.path).empty());
}
#endif

} // namespace
