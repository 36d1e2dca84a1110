#include "io/pending_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "tests/support/bmp_file.h"

using namespace testsupport;

namespace {

typedef std::vector<std::string> Names;

void writeFile(const std::string& path, const char* text)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fputs(text, file);
    fclose(file);
}

// Begins, writes and finishes a pending file for `path`, ready to place.
void prepare(PendingFile& pending, const std::string& path, const char* text)
{
    ASSERT_TRUE(beginPendingFile(pending, path.c_str())) << strerror(pending.error);
    fputs(text, pending.file);
    ASSERT_TRUE(finishPendingFile(pending)) << strerror(pending.error);
}

Names sorted(Names names)
{
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PendingFile, KeepExistingNeverReplacesANameTakenWhileTheFileWasWritten)
{
    ScratchDirectory directory;
    std::string path = directory.file("texture001.bmp");
    PendingFile pending;
    prepare(pending, path, "ours");
    writeFile(path, "theirs"); // another program takes the name meanwhile

    EXPECT_FALSE(placePendingFile(pending, KEEP_EXISTING));
    EXPECT_EQ(pending.error, EEXIST);
    EXPECT_EQ(readFile(path), "theirs");
    discardPendingFile(pending);
    EXPECT_EQ(listDirectory(directory.path), Names { "texture001.bmp" });
}

TEST(PendingFile, TheLinkFallbackRefusesATakenNameAndLeavesNoTemporaryWhenPlaced)
{
    ScratchDirectory directory;
    std::string taken = directory.file("taken.bmp");
    writeFile(taken, "theirs");
    PendingFile pending;
    prepare(pending, directory.file("free.bmp"), "ours");

    EXPECT_EQ(linkIntoPlace(pending.temporaryName, taken.c_str()), EEXIST);
    EXPECT_EQ(readFile(taken), "theirs");
    EXPECT_EQ(readFile(pending.temporaryName), "ours"); // still there to retry or discard

    EXPECT_EQ(linkIntoPlace(pending.temporaryName, pending.finalName), 0);
    EXPECT_EQ(readFile(pending.finalName), "ours");
    EXPECT_EQ(sorted(listDirectory(directory.path)), (Names { "free.bmp", "taken.bmp" }));
}

TEST(PendingFile, AGroupWhoseSecondNameIsTakenLandsNotAtAll)
{
    ScratchDirectory directory;
    writeFile(directory.file("texture001.recipe"), "old recipe");
    PendingFile group[2];
    prepare(group[0], directory.file("texture001.bmp"), "new picture");
    prepare(group[1], directory.file("texture001.recipe"), "new recipe");

    EXPECT_FALSE(placePendingFiles(group, 2, KEEP_EXISTING));
    EXPECT_EQ(group[1].error, EEXIST);
    discardPendingFile(group[0]);
    discardPendingFile(group[1]);
    EXPECT_EQ(readFile(directory.file("texture001.recipe")), "old recipe");
    EXPECT_EQ(listDirectory(directory.path), Names { "texture001.recipe" });
}

TEST(PendingFile, AGroupMovesNothingWhileOneFileIsStillOpen)
{
    ScratchDirectory directory;
    PendingFile group[2];
    prepare(group[0], directory.file("texture000.bmp"), "new picture");
    ASSERT_TRUE(beginPendingFile(group[1], directory.file("texture000.recipe").c_str()));
    EXPECT_FALSE(placePendingFiles(group, 2, REPLACE_EXISTING));
    discardPendingFile(group[0]);
    discardPendingFile(group[1]);
    EXPECT_TRUE(listDirectory(directory.path).empty());
}

} // namespace
