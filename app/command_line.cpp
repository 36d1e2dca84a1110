#include "app/command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/messages.h"
#include "app/shortcuts.h"
#include "app/state.h"
#include "io/file_system.h"
#include "session/recipe_file.h"

namespace {

const char* const USAGE = "usage: quiltor [RECIPE]\n";

const char* const ABOUT
    = "\n"
      "Makes seamless textures in one window: four texture slots on the left,\n"
      "a control panel on the right. With RECIPE, a recipe that Ctrl+Shift+S\n"
      "wrote, it replays the recipe first and goes on from where it left off,\n"
      "and follows the file: each save to it in a text editor is replayed at\n"
      "once, unless the window holds steps not saved to it. A RECIPE that does\n"
      "not exist yet is created by Save.\n"
      "\n"
      "Keys:\n";

const char* const SAVING
    = "\n"
      "Save writes the target slot to texture000.bmp in the working directory,\n"
      "replacing it each time; with RECIPE, to RECIPE's bitmap (its name with\n"
      ".bmp for .recipe) and the recipe itself to RECIPE. Ctrl+Shift+S writes\n"
      "the next free textureNNN.bmp and textureNNN.recipe in the working\n"
      "directory, and Save writes there from then on.\n"
      "\n"
      "quiltor-render renders a recipe at up to 16384 by 16384 without a\n"
      "window: see quiltor-render --help. The manual: man quiltor.\n";

// The save file names made from the recipe's must fit their buffers.
const size_t LONGEST_RECIPE_NAME = SAVE_FILE_NAME_SIZE - sizeof ".bmp";

// The usage, what the program does, its keys one a line, and where Save writes.
std::string helpText()
{
    std::string text = std::string(USAGE) + ABOUT;
    for (int32_t i = 0; i < KEY_COUNT; ++i) {
        char line[128];
        snprintf(line, sizeof line, "  %-14s%s\n", KEYS[i].name, KEYS[i].text);
        text += line;
    }
    return text + SAVING;
}

// A recipe to be written: nothing has the name yet, and the folder it
// names exists, so Save, or an editor, can create it there. A name that
// ends in a folder's separator names no file.
bool isNewRecipeName(const char* name)
{
    return *lastPathPart(name) && !nameExists(name) && isFolder(folderOfPath(name).c_str());
}

} // namespace

int readCommandLine(int argc, const char* const* argv, OpenedRecipe& opened)
{
    opened = OpenedRecipe();
    if (argc <= 1)
        return GO_ON;
    const char* argument = argv[1];
    if (argc == 2 && (strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0)) {
        showUsage(helpText().c_str());
        return 0;
    }
    if (argc > 2 || argument[0] == '-') {
        showCommandLineError(USAGE);
        return EXIT_BAD_COMMAND_LINE;
    }
    std::string error;
    if (strlen(argument) > LONGEST_RECIPE_NAME) {
        showCommandLineError(
            (std::string("Could not read ") + argument + ": " + strerror(ENAMETOOLONG) + "\n")
                .c_str());
        return EXIT_BAD_COMMAND_LINE;
    }
    opened.given = true;
    opened.fileName = argument;
    if (isNewRecipeName(argument))
        return GO_ON;
    if (!loadRecipe(argument, argument, &opened.recipe, &error, &opened.text)) {
        showCommandLineError((error + "\n").c_str());
        opened = OpenedRecipe();
        return EXIT_BAD_COMMAND_LINE;
    }
    opened.exists = true;
    return GO_ON;
}
