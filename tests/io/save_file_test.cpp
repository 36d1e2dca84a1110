#include "io/save_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "tests/support/bmp_file.h"

using namespace testsupport;

namespace {

typedef std::vector<std::string> Names;

const char* refuse(const void*, FILE*)
{
    return "refused";
}

Names sortedNames(const std::string& path)
{
    Names names = listDirectory(path);
    std::sort(names.begin(), names.end());
    return names;
}

void writeFile(const std::string& path, const char* text)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fputs(text, file);
    fclose(file);
}

TEST(SaveFiles, AGroupLandsWholeOrNotAtAll)
{
    ScratchDirectory directory;
    std::string bitmap = directory.file("t.bmp"), recipe = directory.file("t.recipe");
    FileToSave files[2]
        = { { bitmap.c_str(), writeText, "pixels" }, { recipe.c_str(), writeText, "steps" } };

    // The second name is taken: the first file, placed already, goes again.
    writeFile(recipe, "theirs");
    testing::internal::CaptureStderr();
    EXPECT_EQ(saveFiles(files, 2, KEEP_EXISTING), NAME_TAKEN);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(sortedNames(directory.path), Names { "t.recipe" });
    EXPECT_EQ(readFile(recipe), "theirs");

    EXPECT_EQ(saveFiles(files, 2, REPLACE_EXISTING), SAVED);
    EXPECT_EQ(readFile(bitmap), "pixels");
    EXPECT_EQ(readFile(recipe), "steps");

    // A file that cannot be written keeps every file of the group as it was.
    FileToSave failing[2]
        = { { bitmap.c_str(), writeText, "new pixels" }, { recipe.c_str(), refuse, nullptr } };
    testing::internal::CaptureStderr();
    EXPECT_EQ(saveFiles(failing, 2, REPLACE_EXISTING), SAVE_FAILED);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Could not save " + recipe + ": refused\n");
    EXPECT_EQ(readFile(bitmap), "pixels");
    EXPECT_EQ(sortedNames(directory.path), (Names { "t.bmp", "t.recipe" }));
}

// Writers that report success although the file did not get their bytes:
// each way a write can fail must fail the save and keep the old file.
const char* closeUnderTheStream(const void*, FILE* file)
{
    // The bytes wait in the stream's buffer; the flush finds no file to take them.
    fputs("new", file);
    close(fileno(file));
    return nullptr;
}

#ifdef _WIN32
const char* const NULL_DEVICE = "NUL";
#else
const char* const NULL_DEVICE = "/dev/null";
#endif

// A descriptor that takes a close but refuses to be synced to a disk: a pipe
// has no disk, and Windows flushes no handle opened only for reading.
int descriptorThatCannotSync()
{
#ifdef _WIN32
    return open(NULL_DEVICE, O_RDONLY);
#else
    int ends[2];
    if (pipe(ends) != 0)
        return -1;
    close(ends[0]);
    return ends[1];
#endif
}

const char* flushThenLoseTheDisk(const void*, FILE* file)
{
    // The bytes are out of the stream and the file closes as well as ever:
    // only syncing it to the disk fails.
    fputs("new", file);
    fflush(file);
    int other = descriptorThatCannotSync();
    if (other < 0)
        return "no descriptor";
    dup2(other, fileno(file));
    close(other);
    return nullptr;
}

const char* failAWriteUnchecked(const void*, FILE* file)
{
    // A write that fails and is not checked leaves only the stream's error
    // flag: the stream is pointed at a descriptor that refuses writes for
    // one flush, then given its file back.
    fflush(file);
    int original = dup(fileno(file));
    int readOnly = open(NULL_DEVICE, O_RDONLY);
    if (original < 0 || readOnly < 0)
        return "no descriptor";
    dup2(readOnly, fileno(file));
    close(readOnly);
    fputs("new", file);
    fflush(file);
    dup2(original, fileno(file));
    close(original);
    return nullptr;
}

TEST(SaveFiles, AWriteThatFailsOnlyAtTheFlushSyncOrErrorFlagKeepsTheOldFile)
{
    ScratchDirectory directory;
    std::string path = directory.file("t.bmp");
    writeFile(path, "old");
    const FileWriter writers[] = { closeUnderTheStream, flushThenLoseTheDisk, failAWriteUnchecked };
    for (const FileWriter& writer : writers) {
        SCOPED_TRACE(testing::Message() << "writer " << (&writer - writers));
        const char* failedFile = nullptr;
        const char* reason = nullptr;
        FileToSave file = { path.c_str(), writer, nullptr };
        EXPECT_EQ(saveFilesQuietly(&file, 1, REPLACE_EXISTING, &failedFile, &reason), SAVE_FAILED);
        EXPECT_STREQ(failedFile, path.c_str());
        EXPECT_TRUE(reason && *reason);
        EXPECT_EQ(readFile(path), "old");
        EXPECT_EQ(sortedNames(directory.path), Names { "t.bmp" }) << "no temporary left";
    }
}

TEST(SaveFiles, ASaveIsCheckedBeforeTheWorkWithTheReasonItWouldFailWith)
{
    ScratchDirectory directory;
    writeFile(directory.file("old.bmp"), "previous");
    ASSERT_TRUE(std::filesystem::create_directory(directory.file("folder.bmp")));
#ifndef _WIN32
    ASSERT_EQ(symlink("folder.bmp", directory.file("link.bmp").c_str()), 0);
    // A link is replaced itself, never followed.
    EXPECT_EQ(checkSavable(directory.file("link.bmp").c_str()), 0);
    EXPECT_EQ(checkSavable(directory.file("old.bmp/new.bmp").c_str()), ENOTDIR);
    // What the save itself says about a directory, after the work.
    const char* failedFile = nullptr;
    const char* reason = nullptr;
    const std::string folder = directory.file("folder.bmp");
    FileToSave file { folder.c_str(), writeText, "text" };
    EXPECT_EQ(saveFilesQuietly(&file, 1, REPLACE_EXISTING, &failedFile, &reason), SAVE_FAILED);
    EXPECT_STREQ(reason, strerror(EISDIR));
#endif
    const Names before = sortedNames(directory.path);

    EXPECT_EQ(checkSavable(directory.file("new.bmp").c_str()), 0);
    EXPECT_EQ(checkSavable(directory.file("old.bmp").c_str()), 0);
    EXPECT_EQ(checkSavable(directory.file("folder.bmp").c_str()), EISDIR);
    EXPECT_EQ(checkSavable(directory.file("gone/new.bmp").c_str()), ENOENT);
    EXPECT_EQ(checkSavable(directory.file(std::string(5000, 'a')).c_str()), ENAMETOOLONG);

    EXPECT_EQ(sortedNames(directory.path), before) << "nothing left behind";
    EXPECT_EQ(readFile(directory.file("old.bmp")), "previous");
}

} // namespace
