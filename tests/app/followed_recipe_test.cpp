// The window following its recipe file while another program changes it:
// each way an editor saves reloads to what a fresh start on the file
// shows, a file caught half-written or wrong replaces nothing, and the
// window's own steps and saves and the editor's text are both kept.

#include <SDL.h>
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "app/commands.h"
#include "app/followed_recipe.h"
#include "app/overlay.h"
#include "io/file_system.h"
#include "session/history.h"
#include "tests/app/application_fixture.h"

using testsupport::AllSlots;
using testsupport::ApplicationTest;
using testsupport::InScratchDirectory;

namespace {

const SDLMod CTRL = KMOD_LCTRL;
const SDLMod CTRL_SHIFT = (SDLMod)(KMOD_LCTRL | KMOD_LSHIFT);
const int INVERT[2] = { 620, 360 };
const int SAVE[2] = { 15, 560 };

// A short recipe whose every line changes what it shows, with its own
// target and material, so a reload that missed any of them shows.
std::string recipeText(int variation)
{
    return "quiltor recipe 1\nseed " + std::to_string(variation) + "\ncells target=2 nr="
        + std::to_string(10 + variation) + " size=40\nmix target=4 source=2 balance="
        + std::to_string(60 + variation) + "\nmaterial height=2\nsave target=4\n";
}

void writeInPlace(const char* name, const std::string& text)
{
    FILE* file = fopen(name, "wb");
    ASSERT_NE(file, nullptr);
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
}

void renameOver(const char* name, const std::string& text)
{
    std::string temporary = std::string(name) + ".swp";
    writeInPlace(temporary.c_str(), text);
    ASSERT_EQ(rename(temporary.c_str(), name), 0);
}

// What a reopen sets, and so what a reload must set as it would.
struct OpenedState {
    AllSlots slots;
    int32_t target, source;
    std::string lines;
    int32_t undoable, redoable;
    std::string saveName, recipeName, label, reopenedText;
    uint32_t seed;
    bool operator==(const OpenedState& o) const
    {
        return slots == o.slots && target == o.target && source == o.source && lines == o.lines
            && undoable == o.undoable && redoable == o.redoable && saveName == o.saveName
            && recipeName == o.recipeName && label == o.label && reopenedText == o.reopenedText
            && seed == o.seed;
    }
};

class FollowedRecipe : public ApplicationTest {
protected:
    InScratchDirectory scratch;

    static OpenedState openedState()
    {
        return OpenedState { allSlots(), targetSlot, sourceSlot, formatRecipe(session.lines, -1),
            undoableStepCount(session.history), redoableStepCount(session.history), saveFileName,
            recipeFileName, saveNameLabel->text, reopenedRecipeText, randomSeed };
    }

    // The file's news taken now, and the file looked at once it has been still.
    static FollowResult settle()
    {
        uint32_t now = SDL_GetTicks();
        checkFollowedRecipe(now);
        return checkFollowedRecipe(now + FILE_SETTLE_MS);
    }

    // Whether the window, as it stands, is what a fresh start on `name` shows.
    void expectAFreshStartShowsTheSame(const char* name, const char* how)
    {
        OpenedState reloaded = openedState();
        ASSERT_EQ(reopen(name), GO_ON);
        EXPECT_TRUE(reloaded == openedState()) << how;
    }

    static bool messageSays(const char* text)
    {
        if (!overlayShown())
            return false;
        for (int32_t i = 0; i < overlay.lineCount; ++i)
            if (strstr(overlay.lines[i].text, text))
                return true;
        return false;
    }
};

// In place, renamed over, truncated and then written, removed and then
// written anew: each reloads the whole window as a fresh start would, and
// keeps the view and the panel's values, which a start does not set.
TEST_F(FollowedRecipe, EachWayOfSavingReloadsAsAFreshStartWould)
{
    writeInPlace("live.recipe", recipeText(1));
    ASSERT_EQ(reopen("live.recipe"), GO_ON);
    slotArea = SlotArea::TILED;
    cellCount = 33;
    struct Way {
        const char* name;
        void (*save)(const std::string& text);
    };
    const Way ways[] = {
        { "in place", [](const std::string& text) { writeInPlace("live.recipe", text); } },
        { "renamed over", [](const std::string& text) { renameOver("live.recipe", text); } },
        { "truncated, then written",
            [](const std::string& text) {
                writeInPlace("live.recipe", "");
                ASSERT_EQ(settle(), FOLLOW_NOTHING) << "an empty file is no recipe yet";
                writeInPlace("live.recipe", text);
            } },
        { "removed, then written anew",
            [](const std::string& text) {
                ASSERT_EQ(unlink("live.recipe"), 0);
                ASSERT_EQ(settle(), FOLLOW_REDRAW);
                EXPECT_TRUE(messageSays("The recipe was removed"));
                writeInPlace("live.recipe", text);
            } },
    };
    int variation = 2;
    for (const Way& way : ways) {
        AllSlots before = allSlots();
        way.save(recipeText(variation++));
        EXPECT_EQ(settle(), FOLLOW_REDRAW) << way.name;
        EXPECT_NE(allSlots(), before) << way.name;
        EXPECT_FALSE(overlayShown()) << way.name << ": a reload shows no note of its own";
        EXPECT_EQ(slotArea, SlotArea::TILED) << way.name;
        EXPECT_EQ(cellCount, 33) << way.name;
        expectAFreshStartShowsTheSame("live.recipe", way.name);
        slotArea = SlotArea::TILED;
        cellCount = 33;
    }
}

// A read while the editor is still writing sees a part of the text: it is
// taken only once the bytes have stayed as they are for the settle time.
TEST_F(FollowedRecipe, AHalfWrittenFileIsNeverRead)
{
    writeInPlace("live.recipe", recipeText(1));
    ASSERT_EQ(reopen("live.recipe"), GO_ON);
    AllSlots before = allSlots();
    const std::string text = recipeText(2);
    writeInPlace("live.recipe", text.substr(0, text.size() / 2));
    uint32_t now = SDL_GetTicks();
    EXPECT_EQ(checkFollowedRecipe(now), FOLLOW_NOTHING);
    EXPECT_EQ(checkFollowedRecipe(now + FILE_SETTLE_MS - 1), FOLLOW_NOTHING);
    writeInPlace("live.recipe", text);
    EXPECT_EQ(checkFollowedRecipe(now + FILE_SETTLE_MS - 1), FOLLOW_NOTHING);
    EXPECT_EQ(checkFollowedRecipe(now + 2 * FILE_SETTLE_MS - 2), FOLLOW_NOTHING)
        << "the second write started the wait again";
    EXPECT_TRUE(allSlots() == before);
    EXPECT_EQ(checkFollowedRecipe(now + 2 * FILE_SETTLE_MS - 1), FOLLOW_REDRAW);
    EXPECT_FALSE(overlayShown());
    expectAFreshStartShowsTheSame("live.recipe", "the whole text");
}

// A text that cannot be used leaves the last good slots and says what a
// reopen would print, until a good save or a key closes it; back to the
// text shown, nothing is replayed.
TEST_F(FollowedRecipe, AWrongTextReplacesNothingAndSaysWhy)
{
    writeInPlace("live.recipe", recipeText(1));
    ASSERT_EQ(reopen("live.recipe"), GO_ON);
    AllSlots good = allSlots();
    std::string wrong = recipeText(1);
    wrong.replace(wrong.find("balance=61"), 10, "balance=300");
    writeInPlace("live.recipe", wrong);
    EXPECT_EQ(settle(), FOLLOW_REDRAW);
    EXPECT_TRUE(messageSays("live.recipe:4: balance=300 is outside 0..256"));
    EXPECT_TRUE(allSlots() == good);
    writeInPlace("live.recipe", recipeText(1));
    EXPECT_EQ(settle(), FOLLOW_REDRAW) << "the message closes";
    EXPECT_FALSE(overlayShown());
    EXPECT_TRUE(allSlots() == good);

    writeInPlace("live.recipe", wrong);
    settle();
    typeKey(SDLK_a);
    EXPECT_FALSE(overlayShown()) << "a key closes it";
    writeInPlace("live.recipe", recipeText(3));
    EXPECT_EQ(settle(), FOLLOW_REDRAW);
    expectAFreshStartShowsTheSame("live.recipe", "mended");
}

// The window's own save is no change on disk: with a press made after it,
// a reload would have been refused with a message.
TEST_F(FollowedRecipe, TheWindowsOwnSaveIsNotTakenForAChange)
{
    writeInPlace("live.recipe", recipeText(1));
    ASSERT_EQ(reopen("live.recipe"), GO_ON);
    click(INVERT[0], INVERT[1]);
    typeKey(SDLK_s, CTRL);
    EXPECT_EQ(unsavedStepCount(), 0u);
    click(INVERT[0], INVERT[1]);
    EXPECT_EQ(settle(), FOLLOW_NOTHING);
    EXPECT_FALSE(overlayShown());
    EXPECT_EQ(unsavedStepCount(), 1u);
    click(SAVE[0], SAVE[1]);
    EXPECT_EQ(testsupport::readFile("live.recipe"),
        recipeText(1) + "invert target=4\ninvert target=4\nsave target=4\n");
}

// Steps the file does not have are never replayed away, and Save never
// writes over an editor's text: F5 takes the file, Ctrl+Shift+S keeps the
// steps under a new name, which the window then follows.
TEST_F(FollowedRecipe, UnsavedStepsAndTheEditorsTextAreBothKept)
{
    writeInPlace("live.recipe", recipeText(1));
    ASSERT_EQ(reopen("live.recipe"), GO_ON);
    click(INVERT[0], INVERT[1]);
    AllSlots pressed = allSlots();
    writeInPlace("live.recipe", recipeText(2));
    EXPECT_EQ(settle(), FOLLOW_REDRAW);
    EXPECT_TRUE(messageSays("The window holds 1 step not saved to it"));
    EXPECT_TRUE(allSlots() == pressed);

    typeKey(SDLK_a); // closes the message
    typeKey(SDLK_s, CTRL);
    EXPECT_TRUE(messageSays("Not saved"));
    click(SAVE[0], SAVE[1]); // closes it
    click(SAVE[0], SAVE[1]);
    EXPECT_TRUE(messageSays("Not saved"));
    EXPECT_EQ(testsupport::readFile("live.recipe"), recipeText(2));
    EXPECT_FALSE(nameExists("live.bmp"));

    typeKey(SDLK_F5); // acts through the message at once
    EXPECT_FALSE(overlayShown());
    EXPECT_EQ(unsavedStepCount(), 0u);
    AllSlots reloaded = allSlots();
    expectAFreshStartShowsTheSame("live.recipe", "F5");

    click(INVERT[0], INVERT[1]);
    AllSlots pressedAgain = allSlots();
    EXPECT_NE(pressedAgain, reloaded);
    writeInPlace("live.recipe", recipeText(3));
    settle();
    typeKey(SDLK_s, CTRL_SHIFT); // acts through the message at once
    EXPECT_FALSE(overlayShown());
    EXPECT_EQ(testsupport::readFile("texture001.recipe"),
        recipeText(2) + "invert target=4\nsave target=4\n");
    EXPECT_EQ(testsupport::readFile("live.recipe"), recipeText(3));
    EXPECT_TRUE(allSlots() == pressedAgain);
    // Followed from now on under its new name.
    writeInPlace("texture001.recipe", recipeText(4));
    EXPECT_EQ(settle(), FOLLOW_REDRAW);
    expectAFreshStartShowsTheSame("texture001.recipe", "the new name");
}

// A recipe named before it exists opens the start-up textures bound to its
// name: Save creates it, or the window loads it once an editor writes it.
TEST_F(FollowedRecipe, ANewRecipeIsCreatedBySaveOrLoadedOnceWritten)
{
    ASSERT_EQ(reopen("new.recipe"), GO_ON);
    EXPECT_TRUE(messageSays("A new recipe"));
    EXPECT_STREQ(saveNameLabel->text, "new.bmp");
    AllSlots startUp = allSlots();
    typeKey(SDLK_a);
    click(INVERT[0], INVERT[1]);
    click(SAVE[0], SAVE[1]);
    EXPECT_EQ(
        testsupport::readFile("new.recipe"), "quiltor recipe 1\ninvert target=1\nsave target=1\n");
    EXPECT_TRUE(nameExists("new.bmp"));
    EXPECT_EQ(settle(), FOLLOW_NOTHING);

    ASSERT_EQ(reopen("other.recipe"), GO_ON);
    EXPECT_TRUE(allSlots() == startUp);
    EXPECT_EQ(settle(), FOLLOW_NOTHING);
    EXPECT_TRUE(messageSays("A new recipe")) << "nothing yet to close it";
    renameOver("other.recipe", recipeText(5));
    EXPECT_EQ(settle(), FOLLOW_REDRAW);
    EXPECT_FALSE(overlayShown());
    expectAFreshStartShowsTheSame("other.recipe", "written first by another program");
}

// A save while a long reload is replayed: the replay gives way to the
// newest text at once, instead of finishing a version already gone.
TEST_F(FollowedRecipe, ASaveDuringALongReplayStartsAgainFromTheNewestText)
{
    writeInPlace("live.recipe", recipeText(1));
    ASSERT_EQ(reopen("live.recipe"), GO_ON);
    writeInPlace("live.recipe",
        "quiltor recipe 1\ntwirl target=1 direction=9 repeat=20000\nsave target=1\n");
    std::thread editor([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        renameOver("live.recipe", recipeText(6));
    });
    Uint32 started = SDL_GetTicks();
    EXPECT_EQ(settle(), FOLLOW_REDRAW);
    editor.join();
    EXPECT_LT(SDL_GetTicks() - started, 60000u);
    EXPECT_EQ(reopenedRecipeText, recipeText(6)) << "without waiting for a later look";
    expectAFreshStartShowsTheSame("live.recipe", "the newest text");

    // Escape during a reload's replay quits, as during the opening's.
    writeInPlace("live.recipe",
        "quiltor recipe 1\ntwirl target=1 direction=9 repeat=20000\nsave target=1\n");
    pushKey(SDLK_ESCAPE, true);
    started = SDL_GetTicks();
    EXPECT_EQ(settle(), FOLLOW_REDRAW);
    EXPECT_LT(SDL_GetTicks() - started, 60000u);
    runPass(loop);
    EXPECT_TRUE(loop.quitRequested);
}

TEST_F(FollowedRecipe, F5ReloadsAtAnyTimeAndWithoutARecipeDoesNothing)
{
    AllSlots startUp = allSlots();
    click(INVERT[0], INVERT[1]);
    AllSlots inverted = allSlots();
    typeKey(SDLK_F5);
    EXPECT_TRUE(allSlots() == inverted) << "no recipe file: nothing happens";
    EXPECT_FALSE(overlayShown());

    writeInPlace("live.recipe", recipeText(1));
    ASSERT_EQ(reopen("live.recipe"), GO_ON);
    AllSlots opened = allSlots();
    click(INVERT[0], INVERT[1]);
    typeKey(SDLK_F5);
    EXPECT_TRUE(allSlots() == opened);
    EXPECT_EQ(unsavedStepCount(), 0u);
    EXPECT_NE(opened, startUp);
}

} // namespace
