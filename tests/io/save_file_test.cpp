#include "io/save_file.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

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

} // namespace
