// quiltor-render: replays a recipe with the window program's engine and
// writes one slot to a BMP or PNG file, with no window and no display.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "io/file_system.h"
#include "render/render_recipe.h"
#include "render/terminal.h"
#include "session/recipe_file.h"
#include "texture/parallel.h"
#include "texture/texture.h"

namespace {

const int EXIT_BAD_USAGE = 1;
const int EXIT_NOT_WRITTEN = 3;
const int EXIT_BAD_RECIPE = 4;

const int32_t MAX_THREADS = 256;
const int64_t MAX_STEPS_BOUND = 999999999;

// The name parse errors and read failures give standard input.
const char* const STDIN_NAME = "<stdin>";

const char* const USAGE = "usage: quiltor-render RECIPE [-o OUT] [--slot N] [--size N] "
                          "[--format bmp|png] [--depth 8|16] [--bits 8|16] [--threads N] "
                          "[--max-steps N] [--quiet]";

const char* const HELP
    = "\n"
      "Replays RECIPE (- for standard input) from the start-up textures and\n"
      "writes one slot to OUT, without a window or a display.\n"
      "\n"
      "  -o OUT        the file to write, ending in .bmp or .png; it is replaced.\n"
      "                Default: RECIPE with .recipe replaced by .bmp (or .bmp\n"
      "                appended); required when RECIPE is -.\n"
      "  --slot N      write slot N (1..4) instead of the last save line's slot.\n"
      "  --size N      render at N x N pixels: 256 (the default), 512, 1024, 2048,\n"
      "                4096, 8192 or 16384. The same texture with N / 256 times\n"
      "                the detail; 256 is what the window shows and saves.\n"
      "  --format F    write OUT as bmp or png, whatever its name ends in.\n"
      "  --depth D     render with 8 (the default) or 16 bits per channel.\n"
      "  --bits B      write 8 or 16 bits per channel; default: the depth in a\n"
      "                PNG, 8 in a BMP. 16 needs --depth 16 and a PNG.\n"
      "  --threads N   use N threads (1..256); default: every processor.\n"
      "  --max-steps N refuse a recipe that would run more than N operations,\n"
      "                every repeat counted; default: no bound.\n"
      "  --quiet       no progress line, even on a terminal.\n"
      "  --help, -h    show this text.\n"
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
      "A render longer than half a second shows its progress on one line when\n"
      "standard error is a terminal.\n"
      "\n"
      "Exit status: 0 written; 1 bad usage; 3 OUT could not be written, or the\n"
      "memory for N x N could not be had; 4 RECIPE could not be read, is not\n"
      "a valid recipe, or would run more operations than --max-steps allows.\n";

struct Options {
    const char* recipe = nullptr; // "-" for standard input
    const char* output = nullptr;
    int32_t slot = -1; // 0..3, or -1 for the save line's
    int32_t side = TEXTURE_SIZE;
    OutputFormat format = OUTPUT_UNKNOWN; // from OUT's name unless given
    int32_t depth = 8; // bits per channel while rendering
    int32_t bits = 0; // bits per channel written; 0 for the default
    int32_t threads = 0; // 0: every processor
    int64_t maxSteps = 0; // 0: no bound
    bool quiet = false;
};

// Reads an option's value into `options`; false with `problem` set if it is wrong.
typedef bool (*OptionReader)(const char* value, Options* options, std::string* problem);

// A whole decimal number 1..`most`, or -1.
int64_t wholeNumber(const char* value, int64_t most)
{
    if (!*value || strlen(value) > 9)
        return -1;
    int64_t number = 0;
    for (const char* c = value; *c; ++c) {
        if (*c < '0' || *c > '9')
            return -1;
        number = number * 10 + (*c - '0');
    }
    return number >= 1 && number <= most ? number : -1;
}

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

bool readSize(const char* value, Options* options, std::string* problem)
{
    int64_t side = wholeNumber(value, MAX_TEXTURE_SIDE);
    if (!isTextureSide(side)) {
        *problem = std::string("--size takes 256, 512, 1024, 2048, 4096, 8192 or 16384, not '")
            + value + "'";
        return false;
    }
    options->side = (int32_t)side;
    return true;
}

bool readFormat(const char* value, Options* options, std::string* problem)
{
    if (strcmp(value, "bmp") == 0) {
        options->format = OUTPUT_BMP;
    } else if (strcmp(value, "png") == 0) {
        options->format = OUTPUT_PNG;
    } else {
        *problem = std::string("--format takes bmp or png, not '") + value + "'";
        return false;
    }
    return true;
}

// 8 or 16 from "8" or "16", else 0.
int32_t channelBits(const char* value)
{
    return strcmp(value, "8") == 0 ? 8 : strcmp(value, "16") == 0 ? 16 : 0;
}

bool readDepth(const char* value, Options* options, std::string* problem)
{
    options->depth = channelBits(value);
    if (!options->depth)
        *problem = std::string("--depth takes 8 or 16, not '") + value + "'";
    return options->depth != 0;
}

bool readBits(const char* value, Options* options, std::string* problem)
{
    options->bits = channelBits(value);
    if (!options->bits)
        *problem = std::string("--bits takes 8 or 16, not '") + value + "'";
    return options->bits != 0;
}

bool readThreads(const char* value, Options* options, std::string* problem)
{
    int64_t threads = wholeNumber(value, MAX_THREADS);
    if (threads < 1) {
        *problem = std::string("--threads takes a number 1..") + std::to_string(MAX_THREADS)
            + ", not '" + value + "'";
        return false;
    }
    options->threads = (int32_t)threads;
    return true;
}

bool readMaxSteps(const char* value, Options* options, std::string* problem)
{
    int64_t bound = wholeNumber(value, MAX_STEPS_BOUND);
    if (bound < 1) {
        *problem = std::string("--max-steps takes a number 1..") + std::to_string(MAX_STEPS_BOUND)
            + ", not '" + value + "'";
        return false;
    }
    options->maxSteps = bound;
    return true;
}

bool readQuiet(const char*, Options* options, std::string*)
{
    options->quiet = true;
    return true;
}

struct OptionInfo {
    const char* name;
    bool takesValue;
    OptionReader read;
};

// The options, each given at most once.
const OptionInfo OPTIONS[] = {
    { "-o", true, readOutput },
    { "--slot", true, readSlot },
    { "--size", true, readSize },
    { "--format", true, readFormat },
    { "--depth", true, readDepth },
    { "--bits", true, readBits },
    { "--threads", true, readThreads },
    { "--max-steps", true, readMaxSteps },
    { "--quiet", false, readQuiet },
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
        given[option] = true;
        if (!OPTIONS[option].takesValue) {
            OPTIONS[option].read(nullptr, options, problem);
            continue;
        }
        if (i + 1 == argc) {
            *problem = std::string(argument) + " needs a value";
            return false;
        }
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

// The bits per channel to write in that format: --bits, else the depth in a
// PNG and 8 in a BMP; 0 with `problem` set if they cannot be written.
int32_t bitsToWrite(const Options& options, OutputFormat format, std::string* problem)
{
    if (options.bits == 0)
        return format == OUTPUT_PNG ? options.depth : 8;
    if (options.bits > options.depth) {
        *problem = "--bits 16 needs --depth 16";
        return 0;
    }
    if (options.bits == 16 && format != OUTPUT_PNG) {
        *problem = "--bits 16 needs a PNG: a BMP holds 8 bits per channel";
        return 0;
    }
    return options.bits;
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
    const bool terminal = prepareStandardError();
    // File names are UTF-8 inside the program, whatever the system passed.
    std::vector<std::string> arguments = commandLineArguments(argc, argv);
    std::vector<char*> pointers;
    pointers.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        pointers.push_back(&argument[0]);
    pointers.push_back(nullptr);
    argc = (int)arguments.size();
    argv = pointers.data();
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
    std::string output = options.output ? options.output : bitmapNameForRecipe(options.recipe);
    // Without -o, --format png names the picture .png beside the recipe.
    if (!options.output && options.format == OUTPUT_PNG)
        output.replace(output.size() - 4, 4, ".png");
    OutputFormat format
        = options.format != OUTPUT_UNKNOWN ? options.format : outputFormatOf(output.c_str());
    if (format == OUTPUT_UNKNOWN)
        return badUsage("'" + output + "' must end in .bmp or .png, or give --format");
    const int32_t bits = bitsToWrite(options, format, &problem);
    if (!bits)
        return badUsage(problem);

    Recipe recipe;
    if (!loadRecipe(options.recipe, recipeName, &recipe))
        return EXIT_BAD_RECIPE;
    int32_t slot = options.slot >= 0 ? options.slot : recipe.saveSlot;
    if (slot < 0)
        return badUsage(std::string(recipeName)
            + " has no save line: add one (save target=N) or give --slot N");
    // Counted before anything runs, so a recipe made to run for hours, opened
    // by a thumbnailer, costs nothing.
    const RenderPlan plan = planRender(recipe, slot);
    const uint64_t applications = plannedApplications(plan);
    if (options.maxSteps > 0 && applications > (uint64_t)options.maxSteps) {
        fprintf(stderr,
            "%s would run %llu operations, more than the %lld that --max-steps allows\n",
            recipeName, (unsigned long long)applications, (long long)options.maxSteps);
        return EXIT_BAD_RECIPE;
    }
    setOperationThreads(options.threads > 0 ? options.threads : availableProcessors());
    RenderOptions render;
    render.slot = slot;
    render.side = options.side;
    render.depth = options.depth;
    render.bits = bits;
    render.format = format;
    render.showProgress = terminal && !options.quiet;
    return renderRecipe(plan, output.c_str(), render) ? 0 : EXIT_NOT_WRITTEN;
}
