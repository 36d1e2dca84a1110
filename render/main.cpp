// quiltor-render: replays a recipe with the window program's engine and
// writes one slot to a BMP or PNG file, with no window and no display.

#include <cstdio>
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

// Reports bad usage; returns its exit status.
int badUsage(const std::string& problem)
{
    fprintf(stderr, "quiltor-render: %s\n", problem.c_str());
    return EXIT_BAD_USAGE;
}

// Reads and parses the recipe; false, with one line on stderr, if it cannot
// be read or is not a valid recipe.
bool loadRecipe(const CommandOptions& options, const char* name, Recipe* recipe)
{
    std::string problem;
    const char* path = readsStandardInput(options) ? nullptr : options.recipe;
    if (!::loadRecipe(path, name, recipe, &problem)) {
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
        printf("%s\n%s", usageLine().c_str(), helpText().c_str());
        return 0;
    }
    CommandOptions options;
    std::string problem;
    if (!readArguments(argc, argv, &options, &problem))
        return badUsage(problem + "; " + usageLine());
    if (!finishOptions(&options, &problem))
        return badUsage(problem);
    const char* recipeName = readsStandardInput(options) ? STDIN_NAME : options.recipe;

    Recipe recipe;
    if (!loadRecipe(options, recipeName, &recipe))
        return EXIT_BAD_RECIPE;
    int32_t slot = options.slot >= 0 ? options.slot : recipe.saveSlot;
    if (slot < 0)
        return badUsage(
            shownText(recipeName) + " has no save line: add one (save target=N) or give --slot N");
    // Counted before anything runs, so a recipe made to run for hours, opened
    // by a thumbnailer, costs nothing.
    int32_t heightSlot = options.heightSlot >= 0 ? options.heightSlot
        : recipe.material.height >= 0            ? recipe.material.height
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
    render.bits = options.bitsWritten;
    render.normalMap = options.normal;
    render.heightMap = options.height;
    render.material = options.material;
    render.heightSlot = heightSlot;
    render.heightFile = options.heightFile.c_str();
    render.normalFile = options.normalFile.c_str();
    render.normals = options.normals;
    render.format = options.format;
    render.showProgress = terminal && !options.quiet;
    return renderRecipe(plan, options.output.c_str(), render) ? 0 : EXIT_NOT_WRITTEN;
}
