#include "app/help_page.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/followed_recipe.h"
#include "app/overlay.h"
#include "app/saving.h"
#include "app/shortcuts.h"
#include "app/state.h"
#include "io/file_system.h"
#include "session/recipe_file.h"

namespace {

// Where a file name or a path stands under the sentence that names it.
const int32_t NAME_INDENT = 2;
const int32_t NAME_CHARACTERS = OVERLAY_LINE_CHARACTERS - NAME_INDENT;

// Adds a file name or path on a line of its own, shortened in the middle
// when it is too long.
void addName(const char* name)
{
    char shown[OVERLAY_LINE_CHARACTERS + 1];
    shortenInMiddle(name, NAME_CHARACTERS, shown);
    addOverlayLine(OVERLAY_NAME_COLOR, NAME_INDENT, shown);
}

// Every key on a line of its own, and what the mouse buttons do.
void addKeys()
{
    addOverlayLine(OVERLAY_TITLE_COLOR, 0, "Keys");
    for (int32_t i = 0; i < KEY_COUNT; ++i)
        addOverlayKeyLine(KEYS[i].name, KEYS[i].text);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0,
        "A left click runs a button once; holding another button repeats it.");
}

// The working directory, or why it cannot be told (it may be gone).
void addWorkingDirectory()
{
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "Working directory:");
    int error = 0;
    std::string directory = workingDirectory(&error);
    if (directory.empty()) {
        char reason[OVERLAY_LINE_CHARACTERS + 1];
        snprintf(reason, sizeof reason, "(cannot be read: %s)", strerror(error));
        addOverlayLine(OVERLAY_NAME_COLOR, NAME_INDENT, reason);
    } else {
        addName(directory.c_str());
    }
}

// Where Save and Ctrl+S write, and where Ctrl+Shift+S would.
void addSaving(bool hasNewNames, const char* newBitmap, const char* newRecipe)
{
    addOverlayLine(OVERLAY_TITLE_COLOR, 0, "Saving");
    addWorkingDirectory();
    if (recipeFileName[0]) {
        addOverlayLine(
            OVERLAY_TEXT_COLOR, 0, "Save and Ctrl+S write the target slot and the recipe to");
        addName(saveFileName);
        addName(recipeFileName);
        addOverlayLine(OVERLAY_TEXT_COLOR, 0, "replacing both each time.");
    } else {
        addOverlayLine(OVERLAY_TEXT_COLOR, 0, "Save and Ctrl+S write the target slot to");
        addName(saveFileName);
        addOverlayLine(OVERLAY_TEXT_COLOR, 0, "replacing it each time; this name gets no recipe.");
    }
    if (!hasNewNames) {
        addOverlayLine(
            OVERLAY_TEXT_COLOR, 0, "Ctrl+Shift+S finds every numbered name up to 999 taken here.");
        return;
    }
    addOverlayLine(
        OVERLAY_TEXT_COLOR, 0, "Ctrl+Shift+S writes new files in the working directory, replacing");
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "none, and Save writes to them from then on:");
    addName(newBitmap);
    addName(newRecipe);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0,
        "The recipe lists the presses; saved in the lit view, the material too.");
}

// The recipe file the window follows, and how many steps it holds that the
// file does not.
void addFollowing()
{
    addOverlayLine(OVERLAY_TITLE_COLOR, 0, "Following");
    addOverlayLine(
        OVERLAY_TEXT_COLOR, 0, "Each save to the recipe from a text editor shows here at once,");
    // Room for the longest count of steps a session can hold.
    char line[OVERLAY_LINE_CHARACTERS + 32];
    size_t steps = unsavedStepCount();
    if (steps == 0)
        snprintf(line, sizeof line, "as the window holds no steps that are not in it.");
    else
        snprintf(line, sizeof line, "but not while the window holds steps not in it (now %lu).",
            (unsigned long)steps);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, line);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "F5 reloads it now, dropping those steps.");
}

// The output a render of the recipe at 4096 writes: beside the recipe, its
// name with "-4096.png" in place of a trailing ".recipe".
std::string renderOutputName(const char* recipe)
{
    // A name that is the suffix alone keeps it: "-4096.png" is no name.
    std::string stem = recipeStem(recipe);
    return (stem.empty() ? std::string(recipe) : stem) + "-4096.png";
}

// The renderer command for a recipe at 4096, on one line if it fits, else
// on two with the paths shortened.
void addRenderCommand(const char* recipe)
{
    static const char PROGRAM[] = "quiltor-render";
    static const char OPTIONS[] = "--size 4096 -o";
    std::string output = renderOutputName(recipe);
    std::string command = std::string(PROGRAM) + " " + recipe + " " + OPTIONS + " " + output;
    if (command.size() <= (size_t)NAME_CHARACTERS) {
        addOverlayLine(OVERLAY_NAME_COLOR, NAME_INDENT, command.c_str());
        return;
    }
    char shown[OVERLAY_LINE_CHARACTERS + 1];
    shortenInMiddle(recipe, NAME_CHARACTERS - sizeof PROGRAM, shown);
    addOverlayLine(OVERLAY_NAME_COLOR, NAME_INDENT, (std::string(PROGRAM) + " " + shown).c_str());
    // The options go on further in, as a continued command line does.
    const int32_t continued = NAME_INDENT + 2;
    shortenInMiddle(output.c_str(), OVERLAY_LINE_CHARACTERS - continued - sizeof OPTIONS, shown);
    addOverlayLine(OVERLAY_NAME_COLOR, continued, (std::string(OPTIONS) + " " + shown).c_str());
}

// The command that renders the session's recipe, or the one Ctrl+Shift+S
// would write, at 4096.
void addRendering(bool hasNewNames, const char* newRecipe)
{
    addOverlayLine(OVERLAY_TITLE_COLOR, 0, "Rendering");
    if (recipeFileName[0]) {
        addOverlayLine(
            OVERLAY_TEXT_COLOR, 0, "The recipe as last saved, rendered at 4096 by 4096:");
        addRenderCommand(recipeFileName);
    } else if (hasNewNames) {
        addOverlayLine(OVERLAY_TEXT_COLOR, 0,
            "Ctrl+Shift+S writes the recipe; then this renders it at 4096 by 4096:");
        addRenderCommand(newRecipe);
    } else {
        addOverlayLine(OVERLAY_TEXT_COLOR, 0, "quiltor-render renders a saved recipe at any size.");
    }
    // The page's font has no "|", so the engines are listed in words.
    addOverlayLine(OVERLAY_TEXT_COLOR, 0,
        "--material adds every map; --for gltf, unreal, unity or godot packs");
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "them as that engine takes them.");
}

} // namespace

bool showHelpPage()
{
    char newBitmap[SAVE_FILE_NAME_SIZE];
    char newRecipe[SAVE_FILE_NAME_SIZE];
    bool hasNewNames = nextNewFileNames(newBitmap, newRecipe);
    startOverlay(true);
    addKeys();
    addOverlaySpace();
    addSaving(hasNewNames, newBitmap, newRecipe);
    addOverlaySpace();
    if (followingRecipe()) {
        addFollowing();
        addOverlaySpace();
    }
    addRendering(hasNewNames, newRecipe);
    addOverlaySpace();
    addOverlayLine(OVERLAY_TITLE_COLOR, 0, "Any key or click closes this page.");
    return true;
}
