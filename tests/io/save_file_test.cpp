#include "io/save_file.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

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

const char* flushThenTurnIntoAPipe(const void*, FILE* file)
{
    // The bytes are out of the stream, and a pipe closes as well as a file
    // does: only syncing the file to the disk fails.
    fputs("new", file);
    fflush(file);
    int ends[2];
#ifdef _WIN32
    _pipe(ends, 256, _O_BINARY);
#else
    if (pipe(ends) != 0)
        return "no pipe";
#endif
    dup2(ends[1], fileno(file));
    close(ends[0]);
    close(ends[1]);
    return nullptr;
}

const char* leaveTheErrorFlag(const void*, FILE* file)
{
    // Reading a stream opened for writing fails and sets its error flag,
    // as an unchecked failed write would.
    fputs("new", file);
    fgetc(file);
    return nullptr;
}

TEST(SaveFiles, AWriteThatFailsOnlyAtTheFlushSyncOrErrorFlagKeepsTheOldFile)
{
    ScratchDirectory directory;
    std::string path = directory.file("t.bmp");
    writeFile(path, "old");
    for (FileWriter writer : { closeUnderTheStream, flushThenTurnIntoAPipe, leaveTheErrorFlag }) {
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

} // namespace
