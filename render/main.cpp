// quiltor-render: replays a recipe with the window program's engine and
// writes one slot to a BMP or PNG file, with no window and no display.

#include <cstdio>
#include <cstring>
#include <string>

#include "render/render_recipe.h"
#include "session/recipe_file.h"

namespace {

const int EXIT_BAD_USAGE = 1;
const int EXIT_NOT_WRITTEN = 3;
const int EXIT_BAD_RECIPE = 4;

// The name parse errors and read failures give standard input.
const char* const STDIN_NAME = "<stdin>";

const char* const USAGE = "usage: quiltor-render RECIPE [-o OUT] [--slot N]";

const char* const HELP
    = "\n"
      "Replays RECIPE (- for standard input) from the start-up textures and\n"
      "writes one slot to OUT, without a window or a display.\n"
      "\n"
      "  -o OUT     the file to write, ending in .bmp or .png; it is replaced.\n"
      "             Default: RECIPE with .recipe replaced by .bmp (or .bmp\n"
      "             appended); required when RECIPE is -.\n"
      "  --slot N   write slot N (1..4) instead of the last save line's slot.\n"
      "  --help, -h show this text.\n"
      "\n"
      "A recipe is text, one line per step:\n"
      "  quiltor recipe 1                            the first line\n"
      "  # a comment                                 ignored, as are blank lines\n"
      "  cells target=1 nr=12 size=40                an operation, keys in any order\n"
      "  mix target=1 source=2 balance=100 repeat=3  repeat=N: applied N times\n"
      "  undo / redo                                 as the keys do\n"
      "  seed N                                      sets the random generator\n"
      "  save target=1                               the slot to write; last wins\n"
      "Operations: cells nr size, plasma variation, pong size, sine nrx nry,\n"
      "add, sub, copy, max (source), mix source balance,\n"
      "colorize color1=R,G,B color2=R,G,B, invert, clear color1=R,G,B, move x y,\n"
      "deform nrx nry sizex sizey, twirl direction. Slots are 1..4.\n"
      "Errors name the line, e.g. brick.recipe:7: balance=300 is outside 0..256;\n"
      "standard input is called <stdin>.\n"
      "\n"
      "Exit status: 0 written; 1 bad usage; 3 OUT could not be written;\n"
      "4 RECIPE could not be read or is not a valid recipe.\n";

struct Options {
    const char* recipe = nullptr; // "-" for standard input
    const char* output = nullptr;
    int32_t slot = -1; // 0..3, or -1 for the save line's
};

// Reads an option's value into `options`; false with `problem` set if it is wrong.
typedef bool (*OptionReader)(const char* value, Options* options, std::string* problem);

bool readOutput(const char* value, Options* options, std::string*)
{
    options->output = value;
    return true;
}

bool readSlot(const char* value, Options* options, std::string* problem)
{
    if (strlen(value) != 1 || value[0] < '1' || value[0] > '4') {
        *problem = std::string("--slot takes a slot number 1..4, not '") + value + "'";
        return false;
    }
    options->slot = value[0] - '1';
    return true;
}

struct OptionInfo {
    const char* name;
    OptionReader read;
};

// The options that take a value, each given at most once.
const OptionInfo OPTIONS[] = {
    { "-o", readOutput },
    { "--slot", readSlot },
};
const int OPTION_COUNT = sizeof OPTIONS / sizeof OPTIONS[0];

// Reads the command line; false with `problem` set on bad usage.
bool readArguments(int argc, char** argv, Options* options, std::string* problem)
{
    bool given[OPTION_COUNT] = {};
    bool namesOnly = false; // after "--"
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (!namesOnly && strcmp(argument, "--") == 0) {
            namesOnly = true;
            continue;
        }
        // "-" alone is standard input, not an option.
        if (namesOnly || argument[0] != '-' || argument[1] == '\0') {
            if (options->recipe) {
                *problem = std::string("one RECIPE only, not also '") + argument + "'";
                return false;
            }
            options->recipe = argument;
            continue;
        }
        int option = 0;
        while (option < OPTION_COUNT && strcmp(OPTIONS[option].name, argument) != 0)
            ++option;
        if (option == OPTION_COUNT) {
            *problem = std::string("unknown option '") + argument + "'";
            return false;
        }
        if (given[option]) {
            *problem = std::string(argument) + " given twice";
            return false;
        }
        if (i + 1 == argc) {
            *problem = std::string(argument) + " needs a value";
            return false;
        }
        given[option] = true;
        if (!OPTIONS[option].read(argv[++i], options, problem))
            return false;
    }
    if (!options->recipe) {
        *problem = "no RECIPE given";
        return false;
    }
    return true;
}

bool asksForHelp(int argc, char** argv)
{
    for (int i = 1; i < argc && strcmp(argv[i], "--") != 0; ++i)
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}

// Reports bad usage; returns its exit status.
int badUsage(const std::string& problem)
{
    fprintf(stderr, "quiltor-render: %s\n", problem.c_str());
    return EXIT_BAD_USAGE;
}

bool isStdin(const char* recipe)
{
    return strcmp(recipe, "-") == 0;
}

// Reads and parses the recipe; false, with one line on stderr, if it cannot
// be read or is not a valid recipe.
bool loadRecipe(const char* path, const char* name, Recipe* recipe)
{
    std::string problem;
    if (!::loadRecipe(isStdin(path) ? nullptr : path, name, recipe, &problem)) {
        fprintf(stderr, "%s\n", problem.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (asksForHelp(argc, argv)) {
        printf("%s\n%s", USAGE, HELP);
        return 0;
    }
    Options options;
    std::string problem;
    if (!readArguments(argc, argv, &options, &problem))
        return badUsage(problem + "; " + USAGE);
    const char* recipeName = isStdin(options.recipe) ? STDIN_NAME : options.recipe;
    if (!options.output && isStdin(options.recipe))
        return badUsage("reading standard input needs -o OUT");
    const std::string output
        = options.output ? options.output : bitmapNameForRecipe(options.recipe);
    OutputFormat format = outputFormatOf(output.c_str());
    if (format == OUTPUT_UNKNOWN)
        return badUsage("'" + output + "' must end in .bmp or .png");

    Recipe recipe;
    if (!loadRecipe(options.recipe, recipeName, &recipe))
        return EXIT_BAD_RECIPE;
    int32_t slot = options.slot >= 0 ? options.slot : recipe.saveSlot;
    if (slot < 0)
        return badUsage(std::string(recipeName)
            + " has no save line: add one (save target=N) or give --slot N");
    return renderRecipe(recipe, slot, output.c_str(), format) ? 0 : EXIT_NOT_WRITTEN;
}
