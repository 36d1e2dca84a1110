// The keys wired into the window program: undo and redo of what the panel's
// presses did, the tiled view, and saving under a new name. The history
// itself is tested with the session; here, what the presses and keys make of it.

#include <string>
#include <sys/stat.h>

#include "app/overlay.h"
#include "app/saving.h"
#include "app/shortcuts.h"
#include "tests/app/application_fixture.h"
#include "texture/warps.h"

using testsupport::ApplicationTest;
using testsupport::InScratchDirectory;

namespace {

const int CELLS[2] = { 540, 80 };
const int INVERT[2] = { 620, 360 };
const int MOVE[2] = { 540, 425 };
const int TARGET_1[2] = { 535, 20 };
const int TARGET_2[2] = { 555, 20 };
const int TARGET_3[2] = { 535, 40 };
const int SAVE[2] = { 15, 560 };
const SDLMod CTRL = KMOD_LCTRL;
const SDLMod CTRL_SHIFT = (SDLMod)(KMOD_LCTRL | KMOD_LSHIFT);

class Shortcuts : public ApplicationTest {
protected:
    void press(const int point[2]) { click(point[0], point[1]); }

    // Types the key and tells whether the pass rendered: a marker in the
    // window surface survives a pass that leaves the window as it is.
    bool keyRenders(SDLKey key, SDLMod modifiers)
    {
        Pixel& marker = ((Pixel*)((Uint8*)screen->pixels + 580 * screen->pitch))[300];
        marker = 0x123456;
        typeKey(key, modifiers);
        return (marker & 0xFFFFFF) != 0x123456;
    }
};

TEST_F(Shortcuts, AHeldPressIsOneStepForUndoAndRedo)
{
    moveX = 1;
    std::vector<Pixel> before = slotPixels(0);
    pushPress(MOVE[0], MOVE[1], SDL_BUTTON_RIGHT);
    runPasses(5);
    pushRelease(MOVE[0], MOVE[1], SDL_BUTTON_RIGHT);
    runPass(loop);
    std::vector<Pixel> held = slotPixels(0);
    std::vector<Pixel> expected = before;
    for (int i = 0; i < 5; ++i)
        moveTexture(expected.data(), TEXTURE_SIZE, 1, 0);
    EXPECT_EQ(held, expected) << "the hold moved by one pixel per pass";

    EXPECT_TRUE(keyRenders(SDLK_z, CTRL));
    EXPECT_EQ(slotPixels(0), before);
    EXPECT_FALSE(keyRenders(SDLK_z, CTRL)) << "nothing left to undo";
    EXPECT_TRUE(keyRenders(SDLK_y, CTRL));
    EXPECT_EQ(slotPixels(0), held);
    typeKey(SDLK_z, CTRL);
    EXPECT_TRUE(keyRenders(SDLK_z, CTRL_SHIFT)) << "Ctrl+Shift+Z redoes too";
    EXPECT_EQ(slotPixels(0), held);
    EXPECT_FALSE(keyRenders(SDLK_y, CTRL)) << "nothing left to redo";

    // A second press that arrives before the first is released starts a new step.
    pushPress(MOVE[0], MOVE[1], SDL_BUTTON_RIGHT);
    runPasses(2);
    std::vector<Pixel> firstHold = slotPixels(0);
    pushPress(MOVE[0], MOVE[1], SDL_BUTTON_RIGHT);
    runPasses(2);
    pushRelease(MOVE[0], MOVE[1], SDL_BUTTON_RIGHT);
    runPass(loop);
    typeKey(SDLK_z, CTRL);
    EXPECT_EQ(slotPixels(0), firstHold);
}

TEST_F(Shortcuts, UndoRestoresTheStepsSlotAndLeavesThePanelAsItIs)
{
    press(TARGET_2);
    std::vector<Pixel> slot2 = slotPixels(1);
    press(CELLS);
    press(TARGET_3);
    cellCount = 33;
    std::vector<Pixel> slot3 = slotPixels(2);
    typeKey(SDLK_z, CTRL);
    EXPECT_EQ(slotPixels(1), slot2);
    EXPECT_EQ(slotPixels(2), slot3);
    EXPECT_EQ(targetSlot, 2);
    EXPECT_EQ(cellCount, 33);
}

TEST_F(Shortcuts, OnlyTheirOwnModifiersRunThem)
{
    press(INVERT);
    std::vector<Pixel> inverted = slotPixels(0);
    const SDLMod others[] = { KMOD_NONE, KMOD_LSHIFT, (SDLMod)(KMOD_LCTRL | KMOD_LALT),
        (SDLMod)(KMOD_RCTRL | KMOD_MODE), (SDLMod)(KMOD_LCTRL | KMOD_LMETA) };
    for (SDLMod modifiers : others)
        EXPECT_FALSE(keyRenders(SDLK_z, modifiers)) << "modifiers " << modifiers;
    EXPECT_FALSE(keyRenders(SDLK_t, CTRL));
    EXPECT_EQ(slotPixels(0), inverted);
    EXPECT_EQ(slotArea, SlotArea::FOUR_SLOTS);
    // The lock keys do not count, and either Ctrl does.
    EXPECT_TRUE(keyRenders(SDLK_z, (SDLMod)(KMOD_RCTRL | KMOD_CAPS | KMOD_NUM)));
}

TEST_F(Shortcuts, TheTiledViewShowsTheTargetFourTimesAndFollowsIt)
{
    runPass(loop);
    std::vector<Pixel> fourSlots;
    for (int y = 0; y < 530; ++y)
        for (int x = 0; x < 530; ++x)
            fourSlots.push_back(screenPixel(x, y));

    for (SDLMod modifiers : { KMOD_NONE, KMOD_LSHIFT }) {
        EXPECT_TRUE(keyRenders(SDLK_t, modifiers));
        ASSERT_EQ(slotArea, SlotArea::TILED);
        press(TARGET_3);
        press(INVERT); // shown at once
        const Pixel* target = slots[2]->getPixels();
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x)
                ASSERT_EQ(screenPixel(7 + x, 7 + y), target[(y % 256) * 256 + x % 256] & 0xFFFFFF)
                    << x << "," << y;
        // One bevel round all four, and the background beyond it.
        EXPECT_EQ(screenPixel(4, 4), 0xC0C0C0u);
        EXPECT_EQ(screenPixel(263, 5), 0x808080u);
        EXPECT_EQ(screenPixel(520, 300), 0x808080u);
        EXPECT_EQ(screenPixel(519, 519), 0xC0C0C0u);
        for (int at : { 2, 523 }) {
            EXPECT_EQ(screenPixel(at, at), 0x404040u);
            EXPECT_EQ(screenPixel(at, 263), 0x404040u);
            EXPECT_EQ(screenPixel(263, at), 0x404040u);
        }
        EXPECT_EQ(screenPixel(545, 51), 0x80FF80u) << "Target 3 marked";

        press(INVERT);
        typeKey(SDLK_t);
        ASSERT_EQ(slotArea, SlotArea::FOUR_SLOTS);
        press(TARGET_1);
        std::vector<Pixel> shown;
        for (int y = 0; y < 530; ++y)
            for (int x = 0; x < 530; ++x)
                shown.push_back(screenPixel(x, y));
        EXPECT_EQ(shown, fourSlots);
    }
}

std::string fileBytes(const char* name)
{
    return testsupport::readFile(name);
}

bool exists(const char* name)
{
    struct stat status;
    return lstat(name, &status) == 0;
}

TEST_F(Shortcuts, SaveAsNewSkipsTakenNamesAndSaveThenWritesThere)
{
    InScratchDirectory scratch;
    FILE* existing = fopen("texture001.bmp", "wb");
    ASSERT_NE(existing, nullptr);
    fputs("someone else's", existing);
    fclose(existing);
    ASSERT_EQ(symlink("nowhere", "texture003.bmp"), 0);
    fclose(fopen("texture004.recipe", "wb")); // a recipe alone takes its number too

    EXPECT_TRUE(keyRenders(SDLK_s, CTRL_SHIFT));
    EXPECT_STREQ(saveNameLabel->text, "texture002.bmp");
    EXPECT_STREQ(saveFileName, "texture002.bmp");
    std::string first = fileBytes("texture002.bmp");
    press(TARGET_2);
    press(SAVE);
    EXPECT_NE(fileBytes("texture002.bmp"), first) << "Save wrote slot 2 there";
    EXPECT_EQ(fileBytes("texture001.bmp"), "someone else's");
    EXPECT_FALSE(exists("texture000.bmp"));

    typeKey(SDLK_s, CTRL_SHIFT); // past the dangling link and the lone recipe
    EXPECT_STREQ(saveFileName, "texture005.bmp");
    std::string fifth = fileBytes("texture005.bmp");
    press(INVERT);
    EXPECT_FALSE(keyRenders(SDLK_s, CTRL)) << "Ctrl+S shows nothing new";
    EXPECT_NE(fileBytes("texture005.bmp"), fifth);
    EXPECT_EQ(fileBytes("texture004.recipe"), "");
    EXPECT_EQ(testsupport::listDirectory(".").size(), 7u);
}

TEST_F(Shortcuts, SaveAsNewWithoutAFreeNumberChangesNothing)
{
    InScratchDirectory scratch;
    saveCounter = 997;
    for (const char* name : { "texture998.bmp", "texture999.bmp" })
        fclose(fopen(name, "wb"));
    testing::internal::CaptureStderr();
    typeKey(SDLK_s, CTRL_SHIFT);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
        "Could not save a new texture: texture998.bmp to texture999.bmp are all taken\n");
    EXPECT_STREQ(saveFileName, "texture000.bmp");
    EXPECT_EQ(saveCounter, 997);
    EXPECT_EQ(testsupport::listDirectory(".").size(), 2u);

    // The message shows in the window, and the next key only closes it.
    EXPECT_TRUE(overlayShown());
    testing::internal::CaptureStderr();
    typeKey(SDLK_s, CTRL_SHIFT);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(overlayShown());

    // A save that fails keeps the name too: here the working directory is gone.
    saveCounter = 0;
    ASSERT_EQ(system(("rm -rf '" + scratch.directory.path + "'").c_str()), 0);
    testing::internal::CaptureStderr();
    typeKey(SDLK_s, CTRL_SHIFT);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
        "Could not save texture001.bmp: No such file or directory\n");
    EXPECT_STREQ(saveFileName, "texture000.bmp");
    EXPECT_STREQ(saveNameLabel->text, "texture000.bmp");
    EXPECT_EQ(saveCounter, 0);
}

} // namespace

namespace {

// Whether the table names the key with exactly these modifiers, worked out
// here from its presses: Ctrl and Shift count, Alt, Meta and AltGr stand for
// a combination no key takes, the lock keys do not count.
bool tableNames(int key, SDLMod modifiers)
{
    int pressed = ((modifiers & KMOD_CTRL) ? KEY_CTRL : 0)
        | ((modifiers & KMOD_SHIFT) ? KEY_SHIFT : 0)
        | ((modifiers & (KMOD_ALT | KMOD_META | KMOD_MODE)) ? KEY_OTHER : 0);
    for (int32_t i = 0; i < KEY_COUNT; ++i)
        for (const KeyPress& press : KEYS[i].presses)
            if (press.key != SDLK_UNKNOWN && press.key == key && press.modifiers == pressed)
                return true;
    return false;
}

} // namespace

// Every other key, alone or with any modifiers, the keys the system has no
// name for (SDLK_UNKNOWN among them) included, does nothing at all.
TEST_F(Shortcuts, AKeyTheTableDoesNotNameDoesNothing)
{
    InScratchDirectory scratch;
    press(INVERT);
    press(CELLS);
    typeKey(SDLK_z, CTRL); // something to undo, and something to redo
    testsupport::AllSlots before = allSlots();
    size_t lines = session.lines.size();
    const SDLMod modifiers[] = { KMOD_NONE, KMOD_LCTRL, KMOD_RSHIFT, CTRL_SHIFT, KMOD_LALT,
        (SDLMod)(KMOD_LCTRL | KMOD_LMETA), KMOD_MODE, (SDLMod)(KMOD_NUM | KMOD_CAPS) };
    int tried = 0;
    for (int key = SDLK_UNKNOWN; key < SDLK_LAST; ++key) {
        // Escape quits whatever the modifiers.
        if (key == SDLK_ESCAPE)
            continue;
        for (SDLMod held : modifiers) {
            if (tableNames(key, held))
                continue;
            ++tried;
            typeKey((SDLKey)key, held);
            ASSERT_FALSE(overlayShown()) << "key " << key << " with modifiers " << held;
            ASSERT_EQ(session.lines.size(), lines) << "key " << key << " with modifiers " << held;
            ASSERT_EQ(slotArea, SlotArea::FOUR_SLOTS) << "key " << key;
            ASSERT_FALSE(loop.quitRequested) << "key " << key;
        }
    }
    EXPECT_GT(tried, 2000);
    EXPECT_TRUE(allSlots() == before);
    EXPECT_TRUE(testsupport::listDirectory(".").empty()) << "nothing was saved";
}
