// The window program's recipes: recorded as the user works, written beside
// a bitmap saved under a new name, and reopened from the command line
// through the same start-up path the program takes.

#include <string>
#include <sys/stat.h>

#include "app/commands.h"
#include "app/saving.h"
#include "app/shortcuts.h"
#include "session/replay.h"
#include "tests/app/application_fixture.h"
#include "tests/session/slots.h"

using testsupport::AllSlots;
using testsupport::ApplicationTest;
using testsupport::InScratchDirectory;

namespace {

const SDLMod CTRL = KMOD_LCTRL;
const SDLMod CTRL_SHIFT = (SDLMod)(KMOD_LCTRL | KMOD_LSHIFT);

class Recipes : public ApplicationTest {
protected:
    InScratchDirectory scratch;

    // Cells on slot 2, a held Twirl on slot 3, Mix of 2 into 3, an undo and
    // a redo, Invert; then Ctrl+Shift+S with slot 3 the target.
    void recordSession()
    {
        click(555, 20); // Target 2
        click(540, 80); // Cells
        click(535, 40); // Target 3
        pushPress(540, 500, SDL_BUTTON_RIGHT); // Twirl, held for four passes
        runPasses(4);
        pushRelease(540, 500, SDL_BUTTON_RIGHT);
        click(625, 20); // Source 2
        click(625, 220); // Mix
        typeKey(SDLK_z, CTRL);
        typeKey(SDLK_y, CTRL);
        click(620, 360); // Invert
        typeKey(SDLK_s, CTRL_SHIFT);
    }

    // The slots a recipe file gives when replayed from the start-up state
    // into slots of its own.
    static AllSlots replayFile(const char* name)
    {
        Recipe recipe;
        std::string error;
        std::string text = testsupport::readFile(name);
        EXPECT_TRUE(parseRecipe(text.data(), text.size(), name, &recipe, &error)) << error;
        testsupport::Slots fresh;
        Session replayed;
        for (int i = 0; i < SLOT_COUNT; ++i)
            replayed.slots[i] = fresh.pointers[i];
        uint32_t seed = randomSeed; // the window's sequence goes on untouched
        resetToStartUp(replayed.slots);
        replayRecipe(replayed, recipe);
        randomSeed = seed;
        AllSlots all;
        for (int i = 0; i < SLOT_COUNT; ++i)
            all.pixels[i] = fresh.pixels[i];
        return all;
    }
};

TEST_F(Recipes, ASavedRecipeReplaysToTheSessionsSlots)
{
    recordSession();
    std::string text = testsupport::readFile("texture001.recipe");
    EXPECT_EQ(text,
        "quiltor recipe 1\n"
        "cells target=2 nr=20 size=50\n"
        "twirl target=3 direction=64 repeat=4\n"
        "mix target=3 source=2 balance=128\n"
        "undo\n"
        "redo\n"
        "invert target=3\n"
        "save target=3\n");
    EXPECT_TRUE(replayFile("texture001.recipe") == allSlots());

    // The launch's texture000.bmp gets no recipe; Save to a chosen name
    // replaces both files.
    typeKey(SDLK_z, CTRL);
    click(15, 560); // Save
    EXPECT_EQ(testsupport::readFile("texture001.recipe"),
        text.substr(0, text.size() - 14) + "undo\nsave target=3\n");
    EXPECT_TRUE(replayFile("texture001.recipe") == allSlots());
    EXPECT_EQ(testsupport::listDirectory(".").size(), 2u);
}

TEST_F(Recipes, AReopenedRecipeGoesOnWithTheSameSlotsRandomNumbersAndHistory)
{
    recordSession();
    AllSlots saved = allSlots();
    typeKey(SDLK_z, CTRL);
    AllSlots undone = allSlots();
    typeKey(SDLK_y, CTRL);
    click(540, 80); // Cells on slot 3
    AllSlots cells = allSlots();

    ASSERT_EQ(reopen("texture001.recipe"), GO_ON);
    EXPECT_TRUE(allSlots() == saved);
    EXPECT_EQ(targetSlot, 2);
    EXPECT_EQ(targetButtons[2]->color, SELECTED_BUTTON_COLOR);
    EXPECT_EQ(targetButtons[0]->color, BUTTON_COLOR);
    EXPECT_EQ(sourceSlot, 0);
    EXPECT_STREQ(saveNameLabel->text, "texture001.bmp");
    typeKey(SDLK_z, CTRL);
    EXPECT_TRUE(allSlots() == undone);
    typeKey(SDLK_y, CTRL);
    click(540, 80);
    EXPECT_TRUE(allSlots() == cells) << "the random sequence went on where it was saved";

    // Saving goes on with the same recipe, and new names count on from its number.
    click(15, 560);
    EXPECT_TRUE(replayFile("texture001.recipe") == allSlots());
    typeKey(SDLK_s, CTRL_SHIFT);
    EXPECT_STREQ(saveFileName, "texture002.bmp");
    EXPECT_EQ(
        testsupport::readFile("texture002.recipe"), testsupport::readFile("texture001.recipe"));
}

TEST_F(Recipes, AReopenedGalleryRecipeKeepsEveryLineItHad)
{
    const std::string original = testsupport::readFile(QUILTOR_SOURCE_DIR "/docs/brick.recipe");
    ASSERT_NE(original.find("\n# "), std::string::npos) << "a recipe with comments";
    FILE* file = fopen("brick.recipe", "wb");
    ASSERT_NE(file, nullptr);
    fwrite(original.data(), 1, original.size(), file);
    fclose(file);
    ASSERT_EQ(reopen("brick.recipe"), GO_ON);
    ASSERT_EQ(targetSlot, 1);
    click(620, 360); // Invert
    typeKey(SDLK_z, CTRL); // takes the invert back
    typeKey(SDLK_z, CTRL); // and the recipe's own last step
    click(540, 80); // Cells
    typeKey(SDLK_s, CTRL);

    const std::string added
        = "invert target=2\nundo\nundo\ncells target=2 nr=20 size=50\nsave target=2\n";
    EXPECT_EQ(testsupport::readFile("brick.recipe"), original + added);
    EXPECT_TRUE(replayFile("brick.recipe") == allSlots());
    std::vector<Pixel> saved;
    ASSERT_TRUE(testsupport::decodeBmp24(testsupport::readFile("brick.bmp"), 256, 256, saved));
    std::vector<Pixel> shown = slotPixels(1);
    for (Pixel& pixel : shown)
        pixel &= 0xFFFFFF;
    EXPECT_TRUE(saved == shown);

    // Saved under a new name, the same text.
    typeKey(SDLK_s, CTRL_SHIFT);
    EXPECT_EQ(testsupport::readFile("texture001.recipe"), original + added);
}

// Each of the three saves made in the lit view names the source as the
// heights before the save line; outside it none does. Reopened, the recipe
// shows the same material at a press of L.
TEST_F(Recipes, SavesInTheLitViewRecordTheMaterialAndReopeningShowsItAgain)
{
    click(555, 40); // Target 4
    click(620, 360); // Invert
    click(605, 40); // Source 3
    typeKey(SDLK_l);
    typeKey(SDLK_s, CTRL_SHIFT);
    const std::string steps = "quiltor recipe 1\ninvert target=4\n";
    EXPECT_EQ(
        testsupport::readFile("texture001.recipe"), steps + "material height=3\nsave target=4\n");
    click(625, 20); // Source 2
    click(15, 560); // Save
    EXPECT_EQ(
        testsupport::readFile("texture001.recipe"), steps + "material height=2\nsave target=4\n");
    typeKey(SDLK_l); // back to the four slots
    typeKey(SDLK_s, CTRL);
    EXPECT_EQ(testsupport::readFile("texture001.recipe"), steps + "save target=4\n");
    typeKey(SDLK_t); // the tiled view records nothing either
    click(15, 560);
    EXPECT_EQ(testsupport::readFile("texture001.recipe"), steps + "save target=4\n");
    typeKey(SDLK_t);
    typeKey(SDLK_l);
    typeKey(SDLK_s, CTRL);

    ASSERT_EQ(reopen("texture001.recipe"), GO_ON);
    EXPECT_EQ(targetSlot, 3);
    EXPECT_EQ(sourceSlot, 1);
    EXPECT_EQ(sourceButtons[1]->color, SELECTED_BUTTON_COLOR);
    EXPECT_EQ(sourceButtons[0]->color, BUTTON_COLOR);
    // Saved again outside the lit view, the old line stays in the text.
    click(620, 360); // Invert
    click(15, 560);
    EXPECT_EQ(testsupport::readFile("texture001.recipe"),
        steps + "material height=2\nsave target=4\ninvert target=4\nsave target=4\n");
}

// An undo with nothing to undo records nothing, so the saved text is the
// opened one and the step made after it.
TEST_F(Recipes, AnUndoWithNothingToUndoAfterReopeningLeavesNoLine)
{
    const std::string original = "quiltor recipe 1\n# nothing yet\nsave target=2\n";
    FILE* file = fopen("empty.recipe", "wb");
    ASSERT_NE(file, nullptr);
    fwrite(original.data(), 1, original.size(), file);
    fclose(file);
    ASSERT_EQ(reopen("empty.recipe"), GO_ON);
    typeKey(SDLK_z, CTRL);
    click(620, 360); // Invert
    typeKey(SDLK_s, CTRL);
    EXPECT_EQ(testsupport::readFile("empty.recipe"), original + "invert target=2\nsave target=2\n");
    EXPECT_TRUE(replayFile("empty.recipe") == allSlots());
}

// A hand-written recipe may hold an undo or a redo that had nothing to act
// on: the replay records neither, and every press made after reopening is
// saved after the text.
TEST_F(Recipes, AReopenedRecipeWithAnUndoAndARedoThatDidNothingKeepsEveryPress)
{
    const std::string original = "quiltor recipe 1\nundo\ninvert target=1\nredo\nsave target=1\n";
    FILE* file = fopen("by-hand.recipe", "wb");
    ASSERT_NE(file, nullptr);
    fwrite(original.data(), 1, original.size(), file);
    fclose(file);
    ASSERT_EQ(reopen("by-hand.recipe"), GO_ON);
    click(620, 360); // Invert
    click(540, 80); // Cells
    typeKey(SDLK_s, CTRL);
    EXPECT_EQ(testsupport::readFile("by-hand.recipe"),
        original + "invert target=1\ncells target=1 nr=20 size=50\nsave target=1\n");
    EXPECT_TRUE(replayFile("by-hand.recipe") == allSlots());
}

// Saved in the lit view, a reopened recipe gets the material line that a
// new session's save would write, before its save line.
TEST_F(Recipes, AReopenedRecipeSavedInTheLitViewRecordsItsMaterial)
{
    const std::string original = "quiltor recipe 1\ninvert target=2\nsave target=2\n";
    FILE* file = fopen("lit.recipe", "wb");
    ASSERT_NE(file, nullptr);
    fwrite(original.data(), 1, original.size(), file);
    fclose(file);
    ASSERT_EQ(reopen("lit.recipe"), GO_ON);
    click(605, 40); // Source 3
    typeKey(SDLK_l);
    typeKey(SDLK_s, CTRL);
    EXPECT_EQ(testsupport::readFile("lit.recipe"), original + "material height=3\nsave target=2\n");
    click(540, 80); // Cells
    typeKey(SDLK_s, CTRL_SHIFT);
    EXPECT_EQ(testsupport::readFile("texture001.recipe"),
        original + "cells target=2 nr=20 size=50\nmaterial height=3\nsave target=2\n");
}

// The window cannot change a material's roughness and metallic slots, so a
// lit save of a reopened recipe keeps those of its last material line, and
// sets the heights' slot as the lit view shows it.
TEST_F(Recipes, ALitSaveKeepsTheReopenedRoughnessAndMetallic)
{
    const std::string original = "quiltor recipe 1\ninvert target=2\n"
                                 "material metallic=4 height=1 roughness=3\nsave target=2\n";
    FILE* file = fopen("rough.recipe", "wb");
    ASSERT_NE(file, nullptr);
    fwrite(original.data(), 1, original.size(), file);
    fclose(file);
    ASSERT_EQ(reopen("rough.recipe"), GO_ON);
    EXPECT_EQ(sourceSlot, 0) << "the heights' slot is the source";
    click(630, 25); // Source 2
    typeKey(SDLK_l);
    typeKey(SDLK_s, CTRL);
    EXPECT_EQ(testsupport::readFile("rough.recipe"),
        original + "material height=2 roughness=3 metallic=4\nsave target=2\n");
    // Outside the lit view no material line is added.
    typeKey(SDLK_l);
    click(620, 360); // Invert
    typeKey(SDLK_s, CTRL_SHIFT);
    EXPECT_EQ(
        testsupport::readFile("texture001.recipe"), original + "invert target=2\nsave target=2\n");
}

TEST_F(Recipes, TheNameBesideSaveComesFromTheReopenedRecipe)
{
    ASSERT_EQ(mkdir("work", 0700), 0);
    const char* recipe = "quiltor recipe 1\ninvert target=4\n";
    struct Case {
        const char* path;
        const char* bitmap;
        int32_t counter;
    };
    const Case cases[] = {
        { "work/texture041.recipe", "work/texture041.bmp", 41 },
        { "work/texture41.recipe", "work/texture41.bmp", 0 },
        { "work/brick.recipe.txt", "work/brick.recipe.txt.bmp", 0 },
    };
    for (const Case& item : cases) {
        FILE* file = fopen(item.path, "wb");
        ASSERT_NE(file, nullptr);
        fputs(recipe, file);
        fclose(file);
        ASSERT_EQ(reopen(item.path), GO_ON);
        EXPECT_STREQ(saveFileName, item.bitmap);
        EXPECT_STREQ(recipeFileName, item.path);
        EXPECT_EQ(saveCounter, item.counter);
        EXPECT_EQ(targetSlot, 0) << "no save line: slot 1";
    }
    click(15, 560);
    EXPECT_EQ(
        testsupport::readFile("work/brick.recipe.txt"), std::string(recipe) + "save target=1\n");

    // A long path shows its end, within the window.
    std::string path = "work";
    while (path.size() < 200) {
        path += "/a-directory-with-a-long-name";
        ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    }
    path += "/brick.recipe";
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fputs(recipe, file);
    fclose(file);
    ASSERT_EQ(reopen(path.c_str()), GO_ON);
    std::string shown = saveNameLabel->text;
    EXPECT_EQ(shown.size(), 105u);
    EXPECT_EQ(shown.substr(0, 3), "...");
    std::string bitmap = path.substr(0, path.size() - 7) + ".bmp";
    EXPECT_EQ(bitmap.substr(bitmap.size() - 102), shown.substr(3));
}

// A recipe that would take most of an hour: Escape or the close box, read
// between two twirls, ends the start-up at once with nothing written.
TEST_F(Recipes, EscapeOrTheCloseBoxStopsALongReplay)
{
    FILE* file = fopen("long.recipe", "wb");
    ASSERT_NE(file, nullptr);
    fputs("quiltor recipe 1\ntwirl target=1 direction=64 repeat=1000000\nsave target=1\n", file);
    fclose(file);
    SDL_Event escape {};
    escape.type = SDL_KEYDOWN;
    escape.key.type = SDL_KEYDOWN;
    escape.key.state = SDL_PRESSED;
    escape.key.keysym.sym = SDLK_ESCAPE;
    SDL_Event close {};
    close.type = SDL_QUIT;
    for (const SDL_Event& quit : { escape, close }) {
        tearDownSession();
        widgets.clear();
        const char* argv[] = { "quiltor", "long.recipe" };
        OpenedRecipe opened;
        ASSERT_EQ(readCommandLine(2, argv, opened), GO_ON);
        push(quit);
        Uint32 started = SDL_GetTicks();
        EXPECT_EQ(setUpSession(&opened), SESSION_QUIT);
        EXPECT_LT(SDL_GetTicks() - started, 5000u);
        ASSERT_LE(session.lines.size(), 1u);
        if (!session.lines.empty()) {
            EXPECT_LT(session.lines[0].step.repeat, 100);
        }
    }
    EXPECT_EQ(testsupport::listDirectory(".").size(), 1u);
}

TEST(CommandLine, RefusesWhatItCannotUseWithStatusFourAndOneLine)
{
    InScratchDirectory scratch;
    FILE* file = fopen("bad.recipe", "wb");
    ASSERT_NE(file, nullptr);
    fputs("quiltor recipe 1\nmix target=1 source=2 balance=300\n", file);
    fclose(file);
    ASSERT_EQ(mkdir("folder.recipe", 0700), 0);
    struct Case {
        std::vector<const char*> arguments;
        int status;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        { {}, GO_ON, "", "" },
        { { "--help", "bad.recipe" }, 4, "", "usage: quiltor [RECIPE]\n" },
        { { "-h", "bad.recipe" }, 4, "", "usage: quiltor [RECIPE]\n" },
        { { "--h" }, 4, "", "usage: quiltor [RECIPE]\n" },
        { { "a.recipe", "b.recipe" }, 4, "", "usage: quiltor [RECIPE]\n" },
        { { "-v" }, 4, "", "usage: quiltor [RECIPE]\n" },
        { { "missing/new.recipe" }, 4, "",
            "Could not read missing/new.recipe: No such file or directory\n" },
        { { "bad.recipe/new.recipe" }, 4, "",
            "Could not read bad.recipe/new.recipe: Not a directory\n" },
        { { "folder.recipe/" }, 4, "", "Could not read folder.recipe/: Is a directory\n" },
        { { "folder.recipe" }, 4, "", "Could not read folder.recipe: Is a directory\n" },
        { { "bad.recipe" }, 4, "", "bad.recipe:2: balance=300 is outside 0..256\n" },
    };
    for (const Case& item : cases) {
        std::vector<const char*> argv = { "quiltor" };
        argv.insert(argv.end(), item.arguments.begin(), item.arguments.end());
        OpenedRecipe opened;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        int status = readCommandLine((int)argv.size(), argv.data(), opened);
        std::string out = testing::internal::GetCapturedStdout();
        std::string err = testing::internal::GetCapturedStderr();
        std::string what = item.arguments.empty() ? "no argument" : item.arguments[0];
        EXPECT_EQ(status, item.status) << what;
        EXPECT_EQ(out, item.out) << what;
        EXPECT_EQ(err, item.err) << what;
        EXPECT_FALSE(opened.given) << what;
        EXPECT_TRUE(opened.recipe.lines.empty()) << what;
    }
}

TEST(CommandLine, HelpShowsTheUsageTheKeysWhereSaveWritesAndWhereToReadOn)
{
    std::string shown[2];
    const char* options[2] = { "--help", "-h" };
    for (int i = 0; i < 2; ++i) {
        const char* argv[] = { "quiltor", options[i] };
        OpenedRecipe opened;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(readCommandLine(2, argv, opened), 0) << options[i];
        shown[i] = testing::internal::GetCapturedStdout();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << options[i];
        EXPECT_FALSE(opened.given);
    }
    EXPECT_EQ(shown[0], shown[1]);
    const std::string& help = shown[0];
    EXPECT_EQ(help.rfind("usage: quiltor [RECIPE]\n", 0), 0u) << help;
    // One line per key, the key first; and every line fits a terminal.
    for (int32_t i = 0; i < KEY_COUNT; ++i)
        EXPECT_NE(help.find(std::string("\n  ") + KEYS[i].name + " "), std::string::npos)
            << KEYS[i].name;
    for (const char* pointer :
        { "texture000.bmp in the working directory", "quiltor-render", "man quiltor" })
        EXPECT_NE(help.find(pointer), std::string::npos) << pointer;
    size_t start = 0;
    for (size_t end = help.find('\n'); end != std::string::npos; end = help.find('\n', start)) {
        EXPECT_LE(end - start, 79u) << help.substr(start, end - start);
        start = end + 1;
    }
    EXPECT_EQ(start, help.size()) << "the help ends with a line break";
}

} // namespace
