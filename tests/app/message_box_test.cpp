// The message box over the slot area, exactly: its height for its lines,
// where a long file name is cut, and the help page's working directory when
// that directory is deeper than a first guess at its length.

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "app/help_page.h"
#include "app/messages.h"
#include "app/overlay.h"
#include "tests/app/application_fixture.h"
#include "tests/support/drawing_buffer.h"

using testsupport::ApplicationTest;
using testsupport::DrawingBuffer;
using testsupport::InScratchDirectory;

namespace {

// The first and last rows the page drew on in the slot area's first column.
void rowsDrawn(const DrawingBuffer& drawn, int32_t* first, int32_t* last)
{
    *first = -1;
    *last = -1;
    for (int32_t y = 0; y < drawn.canvas.height; ++y)
        if (drawn.at(1, y) != testsupport::BACKGROUND) {
            if (*first < 0)
                *first = y;
            *last = y;
        }
}

TEST(MessageBox, IsAsHighAsItsLinesAndCentredInTheSlotArea)
{
    // Lines, then the box's first and last rows: 26 pixels of frame and
    // margin, 12 a line and 8 for the last line's glyphs, in 525 rows from 1.
    const int32_t EXPECTED[][3]
        = { { 1, 246, 279 }, { 2, 240, 285 }, { 5, 222, 303 }, { 6, 216, 309 }, { 40, 12, 513 } };
    for (const auto& expected : EXPECTED) {
        startOverlay(false);
        for (int32_t i = 0; i < expected[0]; ++i)
            addOverlayLine(OVERLAY_TEXT_COLOR, 0, "line");
        DrawingBuffer drawn(600, 600);
        drawOverlay(drawn.canvas);
        int32_t first = 0, last = 0;
        rowsDrawn(drawn, &first, &last);
        EXPECT_EQ(first, expected[1]) << expected[0] << " lines";
        EXPECT_EQ(last, expected[2]) << expected[0] << " lines";
        EXPECT_FALSE(drawn.columnTouched(0));
        EXPECT_TRUE(drawn.columnTouched(525));
        EXPECT_FALSE(drawn.columnTouched(526));
    }
    startOverlay(true);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "line");
    DrawingBuffer page(600, 600);
    drawOverlay(page.canvas);
    int32_t first = 0, last = 0;
    rowsDrawn(page, &first, &last);
    EXPECT_EQ(first, 1) << "a page fills the slot area";
    EXPECT_EQ(last, 525);
    closeOverlay();
}

TEST(MessageBox, AFailedSaveCutsALongNameToSixtyNineCharacters)
{
    std::string name = "/" + std::string(40, 'a') + "/" + std::string(40, 'b') + "/texture000.bmp";
    testing::internal::CaptureStderr();
    showSaveFailure(name.c_str(), "No space left on device");
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(overlay.lineCount, 5);
    EXPECT_FALSE(overlay.fillsSlotArea);
    EXPECT_STREQ(overlay.lines[0].text, "Could not save");
    EXPECT_EQ(overlay.lines[1].text,
        "/" + std::string(32, 'a') + "..." + std::string(18, 'b') + "/texture000.bmp");
    EXPECT_EQ(overlay.lines[1].column, 2);
    EXPECT_STREQ(overlay.lines[2].text, "No space left on device");
    EXPECT_STREQ(overlay.lines[3].text, "");
    EXPECT_STREQ(overlay.lines[4].text, "Any key or click closes this message.");

    // A name of exactly 69 characters is shown whole; one more is cut.
    std::string whole(69, 'n');
    showSaveFailure(whole.c_str(), "x");
    EXPECT_EQ(overlay.lines[1].text, whole);
    showSaveFailure((whole + "z").c_str(), "x");
    EXPECT_STREQ(overlay.lines[1].text,
        std::string(33, 'n').append("...").append(32, 'n').append("z").c_str());
    closeOverlay();
}

using HelpPage = ApplicationTest;

TEST_F(HelpPage, ShowsADirectoryDeeperThan255BytesCutInTheMiddle)
{
    InScratchDirectory scratch;
    std::string deep = scratch.directory.path;
    for (char part = 'a'; deep.size() <= 300; ++part) {
        deep += "/" + std::string(60, part);
        ASSERT_EQ(mkdir(deep.c_str(), 0700), 0) << deep;
    }
    ASSERT_EQ(chdir(deep.c_str()), 0);
    ASSERT_TRUE(showHelpPage());
    ASSERT_TRUE(overlay.fillsSlotArea);
    int32_t at = -1;
    for (int32_t i = 0; i + 1 < overlay.lineCount && at < 0; ++i)
        if (std::string(overlay.lines[i].text) == "Working directory:")
            at = i + 1;
    ASSERT_GE(at, 0);
    // 69 characters: the first 33, "..." and the last 33.
    std::string expected = deep.substr(0, 33) + "..." + deep.substr(deep.size() - 33);
    EXPECT_EQ(overlay.lines[at].text, expected);
    EXPECT_EQ(overlay.lines[at].column, 2);
    EXPECT_EQ(overlay.lines[at].color, OVERLAY_NAME_COLOR);
    closeOverlay();
    ASSERT_EQ(chdir(scratch.directory.path.c_str()), 0);
    // The scratch directory's own clean-up removes the deep one.
}

} // namespace
