#include "io/save_file.h"

#include <gtest/gtest.h>
#include <string>

#include "tests/support/bmp_file.h"
#include "tests/support/file_size_limit.h"

using namespace testsupport;

namespace {

// Writes 100,000 bytes and, like a careless writer, checks nothing.
const char* writeUnchecked(const void*, FILE* file)
{
    static const char block[1000] = { 0 };
    for (int i = 0; i < 100; ++i)
        fwrite(block, 1, sizeof block, file);
    return nullptr;
}

TEST(SaveFile, AWriteErrorTheWriterIgnoredStillFailsTheSave)
{
    ScratchDirectory directory;
    std::string path = directory.file("texture.out");
    ChildOutcome outcome = runWithFileSizeLimit(50000,
        [&] { return (int)saveFile(path.c_str(), REPLACE_EXISTING, writeUnchecked, nullptr); });
    EXPECT_EQ(outcome.exitCode, (int)SAVE_FAILED);
    EXPECT_EQ(outcome.errors, "Could not save " + path + ": File too large\n");
    EXPECT_TRUE(listDirectory(directory.path).empty());
}

} // namespace
