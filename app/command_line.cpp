#include "app/command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/messages.h"
#include "app/state.h"
#include "session/recipe_file.h"

namespace {

const char* const USAGE = "usage: quiltor [RECIPE]\n";

// The save file names made from the recipe's must fit their buffers.
const size_t LONGEST_RECIPE_NAME = SAVE_FILE_NAME_SIZE - sizeof ".bmp";

} // namespace

int readCommandLine(int argc, const char* const* argv, OpenedRecipe& opened)
{
    opened = OpenedRecipe();
    if (argc <= 1)
        return GO_ON;
    const char* argument = argv[1];
    if (argc == 2 && strcmp(argument, "--help") == 0) {
        showUsage(USAGE);
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
    if (!loadRecipe(argument, argument, &opened.recipe, &error, &opened.text)) {
        showCommandLineError((error + "\n").c_str());
        return EXIT_BAD_COMMAND_LINE;
    }
    opened.given = true;
    opened.fileName = argument;
    return GO_ON;
}
