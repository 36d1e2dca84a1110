#include "texture/bmp_export.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/bmp_file.h"
#include "texture/texture.h"

using namespace testsupport;

namespace {

// A texture of distinct colours with garbage in the top bytes and a few empty cells.
void fillPattern(Texture& texture, uint32_t seed)
{
    Pixel* pixels = texture.getPixels();
    for (uint32_t i = 0; i < 65536; ++i)
        pixels[i] = (i * 2654435761u + seed) & 0x7FFFFFFFu;
    pixels[0] = EMPTY_PIXEL;
    pixels[65535] = EMPTY_PIXEL;
}

void expectFileHolds(const std::string& path, const Texture& texture)
{
    std::vector<uint32_t> decoded;
    ASSERT_TRUE(decodeBmp24(readFile(path), 256, 256, decoded)) << path;
    const Pixel* pixels = texture.getPixels();
    for (int i = 0; i < 65536; ++i)
        ASSERT_EQ(decoded[i], pixels[i] & 0xFFFFFFu) << "pixel " << i;
}

TEST(BmpExport, WritesTheLow24BitsOfEveryPixelAndEmptyCellsAsBlack)
{
    ScratchDirectory directory;
    Texture texture(256, 256);
    fillPattern(texture, 7);
    std::string path = directory.file("texture000.bmp");
    ASSERT_TRUE(saveTextureBmp(texture.getPixels(), TEXTURE_SIZE, path.c_str()));
    expectFileHolds(path, texture);
    std::vector<uint32_t> decoded;
    decodeBmp24(readFile(path), 256, 256, decoded);
    EXPECT_EQ(decoded[0], 0u);
    EXPECT_EQ(readFile(path).size(), 54u + 256 * 256 * 3);
    EXPECT_EQ(listDirectory(directory.path).size(), 1u); // no temporary file left

    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask); // permissions as for any new file
}

TEST(BmpExport, EachSaveReplacesThePreviousFile)
{
    ScratchDirectory directory;
    Texture first(256, 256), second(256, 256);
    fillPattern(first, 1);
    fillPattern(second, 2);
    std::string path = directory.file("texture000.bmp");
    ASSERT_TRUE(saveTextureBmp(first.getPixels(), TEXTURE_SIZE, path.c_str()));
    ASSERT_TRUE(saveTextureBmp(second.getPixels(), TEXTURE_SIZE, path.c_str()));
    expectFileHolds(path, second);
    EXPECT_EQ(listDirectory(directory.path).size(), 1u);
}

TEST(BmpExport, AFileThatCannotBeCreatedIsReportedAndLeavesNothing)
{
    ScratchDirectory directory;
    Texture texture(256, 256);
    std::string path = directory.file("missing/texture000.bmp");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(saveTextureBmp(texture.getPixels(), TEXTURE_SIZE, path.c_str()));
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_TRUE(listDirectory(directory.path).empty());
}

TEST(BmpExport, ANameTakenByADirectoryFailsWithoutLeavingATemporaryFile)
{
    ScratchDirectory directory;
    std::string path = directory.file("texture000.bmp");
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    Texture texture(256, 256);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(saveTextureBmp(texture.getPixels(), TEXTURE_SIZE, path.c_str()));
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_EQ(listDirectory(directory.path), std::vector<std::string> { "texture000.bmp" });
}

TEST(BmpExport, AFullDiskLeavesThePreviousFileIntact)
{
    ScratchDirectory directory;
    std::string path = directory.file("texture000.bmp");
    Texture previous(256, 256), next(256, 256);
    fillPattern(previous, 3);
    fillPattern(next, 4);
    ASSERT_TRUE(saveTextureBmp(previous.getPixels(), TEXTURE_SIZE, path.c_str()));
    std::string before = readFile(path);

    // The child can write only 50,000 bytes per file, which cuts the BMP short
    // at the first buffered write past that size.
    int errorPipe[2];
    ASSERT_EQ(pipe(errorPipe), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit = { 50000, 50000 };
        setrlimit(RLIMIT_FSIZE, &limit);
        dup2(errorPipe[1], 2);
        // Saving again and again on a full disk must never wear the old file away.
        int savedCount = 0;
        for (int attempt = 0; attempt < 3; ++attempt)
            savedCount += saveTextureBmp(next.getPixels(), TEXTURE_SIZE, path.c_str());
        _exit(savedCount);
    }
    close(errorPipe[1]);
    std::string message;
    char chunk[512];
    ssize_t count;
    while ((count = read(errorPipe[0], chunk, sizeof chunk)) > 0)
        message.append(chunk, (size_t)count);
    close(errorPipe[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a save claimed success";
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 3) << message;
    EXPECT_NE(message.find("File too large"), std::string::npos) << message;
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(listDirectory(directory.path), std::vector<std::string> { "texture000.bmp" });
}

TEST(BmpExport, ASymlinkIsReplacedNotWrittenThrough)
{
    ScratchDirectory directory;
    std::string other = directory.file("elsewhere.bmp");
    FILE* file = fopen(other.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fputs("keep me", file);
    fclose(file);
    std::string path = directory.file("texture000.bmp");
    ASSERT_EQ(symlink(other.c_str(), path.c_str()), 0);

    Texture texture(256, 256);
    fillPattern(texture, 5);
    ASSERT_TRUE(saveTextureBmp(texture.getPixels(), TEXTURE_SIZE, path.c_str()));
    struct stat status;
    ASSERT_EQ(lstat(path.c_str(), &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(readFile(other), "keep me");
    expectFileHolds(path, texture);
}

} // namespace

namespace {

// Writes a BMP through `write` into a file of its own and returns its bytes.
std::vector<uint8_t> bmpBytes(const char* (*write)(const Pixel*, int32_t, FILE*),
    const std::vector<Pixel>& pixels, int32_t side, const std::string& path)
{
    FILE* file = fopen(path.c_str(), "wb");
    EXPECT_TRUE(file);
    if (!file)
        return {};
    EXPECT_EQ(write(pixels.data(), side, file), nullptr);
    fclose(file);
    std::string bytes = readFile(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The sides too wide for SDL are written without it: the same bytes,
// checked at sides where both ways work.
TEST(BmpExport, LargerSidesAndTheWayWithoutSdlGiveTheSameBytes)
{
    ScratchDirectory directory;
    for (int32_t side : { 256, 512 }) {
        std::vector<Pixel> pixels((size_t)side * side);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = ((uint32_t)i * 2654435761u) | (i % 7 == 0 ? EMPTY_PIXEL : 0);
        std::vector<uint8_t> throughSdl
            = bmpBytes(writeTextureBmp, pixels, side, directory.file("sdl.bmp"));
        std::vector<uint8_t> direct
            = bmpBytes(writeTextureBmpDirectly, pixels, side, directory.file("direct.bmp"));
        EXPECT_EQ(throughSdl.size(), 54u + (size_t)side * side * 3) << side;
        EXPECT_TRUE(direct == throughSdl) << side;
        std::vector<uint32_t> decoded;
        ASSERT_TRUE(decodeBmp24(std::string(direct.begin(), direct.end()), side, side, decoded));
        for (size_t i = 0; i < pixels.size(); ++i)
            ASSERT_EQ(decoded[i], pixels[i] & 0xFFFFFFu) << side << ": pixel " << i;
    }
    // A full disk shows in the rows' writes.
    FILE* full = fopen("/dev/full", "wb");
    ASSERT_TRUE(full);
    std::vector<Pixel> pixels(65536, 0x123456);
    const char* failure = writeTextureBmpDirectly(pixels.data(), 256, full);
    fclose(full);
    EXPECT_STREQ(failure ? failure : "", strerror(ENOSPC));
}

// A 16-bit texture's BMP is the one SDL writes for its pixels reduced to 8
// bits, though it never goes through SDL.
TEST(BmpExport, DeepTexturesGiveTheBytesOfTheirReducedPixels)
{
    ScratchDirectory directory;
    for (int32_t side : { 256, 512 }) {
        std::vector<DeepPixel> deep((size_t)side * side);
        std::vector<Pixel> reduced(deep.size());
        for (size_t i = 0; i < deep.size(); ++i) {
            deep[i] = (DeepPixel)i * 0x9E3779B97F4A7C15ull;
            reduced[i] = reducedPixel(deep[i]);
        }
        std::string path = directory.file("deep.bmp");
        FILE* file = fopen(path.c_str(), "wb");
        ASSERT_TRUE(file);
        const TextureImage<DeepPixel> image = imageOf(deep.data(), side, 8);
        EXPECT_EQ(writeTextureBmpData<DeepPixel>(&image, file), nullptr);
        fclose(file);
        std::string bytes = readFile(path);
        std::vector<uint8_t> direct(bytes.begin(), bytes.end());
        EXPECT_TRUE(direct == bmpBytes(writeTextureBmp, reduced, side, directory.file("sdl.bmp")))
            << side;
    }
}

void recordRows(void* context, int32_t rows)
{
    ((std::vector<int32_t>*)context)->push_back(rows);
}

// A long write shows how far it has got: past the window's side each row is
// told as it goes out; the window's own is told once SDL has written it.
// The bytes are SDL's either way.
TEST(BmpExport, TellsTheRowsWrittenAsTheyGo)
{
    ScratchDirectory directory;
    for (int32_t side : { 256, 512 }) {
        std::vector<Pixel> pixels((size_t)side * side);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = (uint32_t)i * 2654435761u;
        std::vector<int32_t> rows;
        const TextureImage<Pixel> image { pixels.data(), side, 8, recordRows, &rows };
        const std::string path = directory.file("told.bmp");
        FILE* file = fopen(path.c_str(), "wb");
        ASSERT_TRUE(file);
        EXPECT_EQ(writeTextureBmpData<Pixel>(&image, file), nullptr);
        fclose(file);
        std::vector<int32_t> expected;
        for (int32_t row = side == TEXTURE_SIZE ? side : 1; row <= side; ++row)
            expected.push_back(row);
        EXPECT_EQ(rows, expected) << side;
        std::string told = readFile(path);
        EXPECT_TRUE(std::vector<uint8_t>(told.begin(), told.end())
            == bmpBytes(writeTextureBmp, pixels, side, directory.file("sdl.bmp")))
            << side;
    }
}

} // namespace
