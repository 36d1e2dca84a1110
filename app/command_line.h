// The command line: nothing, a recipe to reopen, or --help (-h).
#pragma once

#include <string>

#include "session/recipe.h"

// Exit status for a command line or a recipe that cannot be used.
const int EXIT_BAD_COMMAND_LINE = 4;

// readCommandLine's answer when the program is to go on and open its window.
const int GO_ON = -1;

// A recipe named on the command line, read and parsed before the window opens.
struct OpenedRecipe {
    bool given = false;
    // False for a new recipe: no file has the name yet, but its folder exists.
    bool exists = false;
    std::string fileName; // as given, relative or absolute
    Recipe recipe;
    std::string text; // the file's bytes as read, which a save writes back
};

// Reads the arguments before anything else starts. Returns GO_ON, with the
// recipe read into `opened` if one was named (or only named, for a new
// recipe: a name that nothing has yet, in a folder that exists); or, once
// it has printed the help (for --help or -h, on stdout: the usage, the keys
// and where Save writes) or the reason on stderr, the exit status: 0 for
// the help, EXIT_BAD_COMMAND_LINE for more than one argument, an option, or
// a recipe that cannot be read or does not parse.
int readCommandLine(int argc, const char* const* argv, OpenedRecipe& opened);
