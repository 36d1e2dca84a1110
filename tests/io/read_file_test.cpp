#include "io/read_file.h"

#include <gtest/gtest.h>
#include <string>

#include "tests/support/bmp_file.h"

using namespace testsupport;

namespace {

void writeBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

TEST(ReadWholeFile, ReadsUpToTheLimitAndRefusesOneByteMore)
{
    ScratchDirectory directory;
    // Longer than one read, with a NUL inside: bytes, not text.
    std::string bytes(200000, 'a');
    bytes[100000] = '\0';
    writeBytes(directory.file("recipe"), bytes);
    std::string contents;
    int error = -1;

    EXPECT_EQ(readWholeFile(directory.file("recipe").c_str(), bytes.size(), &contents, &error),
        READ_DONE);
    EXPECT_EQ(contents, bytes);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(readWholeFile(directory.file("recipe").c_str(), bytes.size() - 1, &contents, &error),
        READ_TOO_LARGE);
    EXPECT_EQ(contents.size(), bytes.size());
}

TEST(ReadWholeFile, StopsEarlyOnAnEndlessInput)
{
#ifdef _WIN32
    GTEST_SKIP() << "no endless file to read";
#endif
    std::string contents;
    int error = 0;
    EXPECT_EQ(readWholeFile("/dev/zero", 1 << 20, &contents, &error), READ_TOO_LARGE);
    EXPECT_EQ(contents.size(), (size_t)(1 << 20) + 1);
}

} // namespace
