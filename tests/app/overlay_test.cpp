// Pages over the slot area: the help page that F1 opens and a failed save's
// message. While one shows, the next key or press only closes it, and the
// panel beside it is drawn as usual.

#include <string>

#include "app/overlay.h"
#include "app/saving.h"
#include "app/shortcuts.h"
#include "tests/app/application_fixture.h"

using testsupport::ApplicationTest;
using testsupport::InScratchDirectory;

namespace {

const int CELLS[2] = { 540, 80 };
const int SAVE[2] = { 15, 560 };
const int SPOT_SIZE_PLUS[2] = { 675, 126 };
const SDLMod CTRL = KMOD_LCTRL;

// Every line of the page as one text, keys and descriptions alike.
std::string pageText()
{
    std::string text;
    for (int32_t i = 0; i < overlay.lineCount; ++i)
        text += std::string(overlay.lines[i].key) + "|" + overlay.lines[i].text + "\n";
    return text;
}

using Pages = ApplicationTest;

TEST_F(Pages, F1ShowsHelpOverTheSlotsAndTheNextKeyOnlyClosesIt)
{
    click(CELLS[0], CELLS[1]);
    std::vector<Pixel> cells = slotPixels(0);
    Pixel panelButton = screenPixel(545, 31);
    Pixel slotPixel = screenPixel(100, 100);

    typeKey(SDLK_F1);
    ASSERT_TRUE(overlayShown());
    EXPECT_EQ(screenPixel(1, 1), 0xC0C0C0u) << "the page's frame";
    EXPECT_EQ(screenPixel(300, 500), 0x404040u) << "the page hides the slots";
    EXPECT_EQ(screenPixel(545, 31), panelButton) << "the panel stays";

    // A modifier alone is held for the next key and closes nothing.
    pushKey(SDLK_LCTRL, true, CTRL);
    runPass(loop);
    EXPECT_TRUE(overlayShown());
    // Ctrl+Z closes the page and undoes nothing, held or not.
    pushKey(SDLK_z, true, CTRL);
    pushKey(SDLK_z, true, CTRL); // a repeat
    runPass(loop);
    EXPECT_FALSE(overlayShown());
    EXPECT_EQ(slotPixels(0), cells);
    EXPECT_EQ(screenPixel(100, 100), slotPixel);
    pushKey(SDLK_z, false, CTRL);
    typeKey(SDLK_z, CTRL);
    EXPECT_NE(slotPixels(0), cells) << "released and pressed again, it undoes";

    // Escape closes the page and does not quit; the next Escape does.
    typeKey(SDLK_F1);
    typeKey(SDLK_ESCAPE);
    EXPECT_FALSE(overlayShown());
    EXPECT_FALSE(loop.quitRequested);
    typeKey(SDLK_ESCAPE);
    EXPECT_TRUE(loop.quitRequested);
}

TEST_F(Pages, APressOnlyClosesThePageAndAHeldPressStopsWhenItOpens)
{
    std::vector<Pixel> before = slotPixels(0);
    typeKey(SDLK_F1);
    click(CELLS[0], CELLS[1]);
    EXPECT_FALSE(overlayShown());
    EXPECT_EQ(slotPixels(0), before) << "Cells did not run";

    // A right press that closes the page is not repeated while it is held.
    typeKey(SDLK_F1);
    pushPress(SPOT_SIZE_PLUS[0], SPOT_SIZE_PLUS[1], SDL_BUTTON_RIGHT);
    runPasses(5);
    EXPECT_FALSE(overlayShown());
    EXPECT_EQ(spotSize, 128);
    pushRelease(SPOT_SIZE_PLUS[0], SPOT_SIZE_PLUS[1], SDL_BUTTON_RIGHT);
    runPass(loop);

    // A held press counts until F1 opens the page, and not behind it.
    pushPress(SPOT_SIZE_PLUS[0], SPOT_SIZE_PLUS[1], SDL_BUTTON_RIGHT);
    runPasses(3);
    pushKey(SDLK_F1, true);
    runPasses(5);
    EXPECT_TRUE(overlayShown());
    EXPECT_EQ(spotSize, 131);
    // Held, F1 repeats without closing its page.
    pushKey(SDLK_F1, true);
    runPass(loop);
    EXPECT_TRUE(overlayShown());
}

TEST_F(Pages, TheHelpPageNamesWhereSaveWritesAndTheRendererCommand)
{
    InScratchDirectory scratch;
    fclose(fopen("texture001.bmp", "wb"));
    typeKey(SDLK_F1);
    std::string page = pageText();
    for (int32_t i = 0; i < KEY_COUNT; ++i)
        EXPECT_NE(page.find(std::string("\n") + KEYS[i].name + "|"), std::string::npos)
            << KEYS[i].name << "\n"
            << page;
    EXPECT_NE(page.find("|" + scratch.directory.path + "\n"), std::string::npos) << page;
    EXPECT_NE(page.find("|texture000.bmp\n"), std::string::npos) << page;
    // No recipe yet: the one Ctrl+Shift+S would write, past a taken number.
    EXPECT_NE(page.find("|texture002.recipe\n"), std::string::npos) << page;
    EXPECT_NE(page.find("|quiltor-render texture002.recipe --size 4096 -o texture002-4096.png\n"),
        std::string::npos)
        << page;
    typeKey(SDLK_F1);

    // A long reopened name: both paths shortened in the middle, the command
    // split in two lines that keep the file names' ends.
    std::string folder(120, 'f');
    snprintf(recipeFileName, SAVE_FILE_NAME_SIZE, "%s/brick.recipe", folder.c_str());
    snprintf(saveFileName, SAVE_FILE_NAME_SIZE, "%s/brick.bmp", folder.c_str());
    typeKey(SDLK_F1);
    page = pageText();
    std::string start(33, 'f');
    EXPECT_NE(page.find("|" + start + "..." + std::string(20, 'f') + "/brick.recipe\n"),
        std::string::npos)
        << page;
    EXPECT_NE(
        page.find("|" + start + "..." + std::string(23, 'f') + "/brick.bmp\n"), std::string::npos)
        << page;
    EXPECT_NE(page.find("|quiltor-render fffff"), std::string::npos) << page;
    EXPECT_NE(page.find("f/brick.recipe\n|--size 4096 -o fff"), std::string::npos) << page;
    EXPECT_NE(page.find("f/brick-4096.png\n"), std::string::npos) << page;
    // The sentences fit whole: a line that fills the width may have been cut.
    for (int32_t i = 0; i < overlay.lineCount; ++i) {
        const OverlayLine& line = overlay.lines[i];
        if (line.color != OVERLAY_NAME_COLOR) {
            EXPECT_LT(line.column + (int32_t)strlen(line.text), OVERLAY_LINE_CHARACTERS)
                << line.text;
        }
    }
}

TEST_F(Pages, AFailedSaveShowsItsMessageUntilTheNextPress)
{
    InScratchDirectory scratch;
    ASSERT_EQ(system(("rm -rf '" + scratch.directory.path + "'").c_str()), 0);
    std::vector<Pixel> before = slotPixels(0);
    Pixel behindBox = screenPixel(200, 240);
    ASSERT_NE(behindBox, 0x404040u);
    // Held with the right button, Save fails once, not on every pass.
    testing::internal::CaptureStderr();
    pushPress(SAVE[0], SAVE[1], SDL_BUTTON_RIGHT);
    runPasses(5);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
        "Could not save texture000.bmp: No such file or directory\n");
    ASSERT_TRUE(overlayShown());
    std::string page = pageText();
    EXPECT_NE(page.find("|texture000.bmp\n|No such file or directory\n"), std::string::npos)
        << page;
    EXPECT_EQ(screenPixel(200, 240), 0x404040u) << "the message's box over the slots";
    pushRelease(SAVE[0], SAVE[1], SDL_BUTTON_RIGHT);
    runPass(loop);
    EXPECT_TRUE(overlayShown());

    click(CELLS[0], CELLS[1]);
    EXPECT_FALSE(overlayShown());
    EXPECT_EQ(slotPixels(0), before);
    click(CELLS[0], CELLS[1]);
    EXPECT_NE(slotPixels(0), before) << "the session goes on";
}

TEST(OverlayLines, ShowABackslashAsASlashAndStopAtTheWidth)
{
    startOverlay(false);
    addOverlayLine(OVERLAY_NAME_COLOR, 2, "C:\\Users\\me\\texture000.bmp");
    addOverlayLine(OVERLAY_TEXT_COLOR, 60, "twelve chars");
    ASSERT_EQ(overlay.lineCount, 2);
    EXPECT_STREQ(overlay.lines[0].text, "C:/Users/me/texture000.bmp");
    EXPECT_STREQ(overlay.lines[1].text, "twelve char");
    closeOverlay();
}

TEST(ShortenInMiddle, KeepsBothEndsAndTheLimit)
{
    char out[16];
    shortenInMiddle("texture000.bmp", 14, out);
    EXPECT_STREQ(out, "texture000.bmp");
    shortenInMiddle("/home/user/texture000.bmp", 15, out);
    EXPECT_STREQ(out, "/home/...00.bmp");
    shortenInMiddle("abcdefghijklmnop", 5, out);
    EXPECT_STREQ(out, "a...p");
}

} // namespace
