// quiltor-render: replays a recipe with the window program's engine and
// writes one slot to a BMP or PNG file, with no window and no display.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "io/file_system.h"
#include "render/options.h"
#include "render/render_recipe.h"
#include "render/terminal.h"
#include "session/recipe_file.h"
#include "session/recipe_text.h"
#include "session/render_plan.h"
#include "texture/parallel.h"
#include "texture/texture.h"

namespace {

const int EXIT_BAD_USAGE = 1;
const int EXIT_NOT_WRITTEN = 3;
const int EXIT_BAD_RECIPE = 4;

// The name parse errors and read failures give standard input.
const char* const STDIN_NAME = "<stdin>";

// The bits per channel to write in that format: --bits, else the depth in a
// PNG and 8 in a BMP; 0 with `problem` set if they cannot be written. A
// normal map comes from a depth-16 replay whatever the depth.
int32_t bitsToWrite(const CommandOptions& options, OutputFormat format, std::string* problem)
{
    if (options.bits == 0)
        return format == OUTPUT_PNG ? options.depth : 8;
    if (options.bits > options.depth && !options.normal && !options.material) {
        *problem = "--bits 16 needs --depth 16";
        return 0;
    }
    if (options.bits == 16 && format != OUTPUT_PNG) {
        *problem = "--bits 16 needs a PNG: a BMP holds 8 bits per channel";
        return 0;
    }
    return options.bits;
}

// A material's file beside OUT: OUT's name with `mark` ("-height") before
// its extension, and that extension, or `extension` in its place if given.
std::string besideOutput(const std::string& output, const char* mark, const char* extension)
{
    size_t start = output.find_last_of("/\\");
    start = start == std::string::npos ? 0 : start + 1;
    size_t dot = output.rfind('.');
    // A name's leading dot, as in ".png", starts no extension.
    if (dot == std::string::npos || dot <= start)
        dot = output.size();
    std::string name = output.substr(0, dot) + mark;
    return name + (extension ? extension : output.substr(dot).c_str());
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
    CommandOptions options;
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
        return badUsage("'" + shownText(output) + "' must end in .bmp or .png, or give --format");
    if (options.height && format != OUTPUT_PNG)
        return badUsage("--height writes a 16-bit PNG: name OUT .png or give --format png");
    if (options.height && options.bits)
        return badUsage("--height always writes 16 bits per sample; give it without --bits");
    const int32_t bits = options.height ? 16 : bitsToWrite(options, format, &problem);
    if (!bits)
        return badUsage(problem);
    const std::string heightFile = besideOutput(output, "-height", ".png");
    const std::string normalFile = besideOutput(output, "-normal", nullptr);

    Recipe recipe;
    if (!loadRecipe(options.recipe, recipeName, &recipe))
        return EXIT_BAD_RECIPE;
    int32_t slot = options.slot >= 0 ? options.slot : recipe.saveSlot;
    if (slot < 0)
        return badUsage(
            shownText(recipeName) + " has no save line: add one (save target=N) or give --slot N");
    // Counted before anything runs, so a recipe made to run for hours, opened
    // by a thumbnailer, costs nothing.
    int32_t heightSlot = options.heightSlot >= 0 ? options.heightSlot
        : recipe.materialHeightSlot >= 0         ? recipe.materialHeightSlot
                                                 : slot;
    const RenderPlan plan = options.material
        ? planRenderOfSlots(recipe, (1u << slot) | (1u << heightSlot), options.seed)
        : planRender(recipe, slot, options.seed);
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
    render.normalMap = options.normal;
    render.heightMap = options.height;
    render.material = options.material;
    render.heightSlot = heightSlot;
    render.heightFile = heightFile.c_str();
    render.normalFile = normalFile.c_str();
    render.normals = options.normals;
    render.format = format;
    render.showProgress = terminal && !options.quiet;
    return renderRecipe(plan, output.c_str(), render) ? 0 : EXIT_NOT_WRITTEN;
}
