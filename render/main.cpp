// quiltor-render: replays a recipe with the window program's engine and
// writes one slot to a BMP or PNG file, with no window and no display.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "io/file_system.h"
#include "render/options.h"
#include "render/progress_line.h"
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

// The slots a material's files are made from, as planRenderOfSlots takes
// them: a bit per slot.
uint32_t materialSlots(const RenderOptions& render)
{
    uint32_t slots = (1u << render.slot) | (1u << render.heightSlot);
    for (int32_t slot : { render.roughnessSlot, render.metallicSlot })
        if (slot >= 0)
            slots |= 1u << slot;
    return slots;
}

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

// Every text the progress line would show goes, one a line, to the file
// that QUILTOR_RENDER_PROGRESS_RECORD names, if it does: for the tests,
// which then read what a render's progress was without catching the line
// drawn at the right moment. True if it is set.
bool recordsProgress()
{
    static FILE* record = nullptr;
    if (record)
        return true;
    const char* name = getenv("QUILTOR_RENDER_PROGRESS_RECORD");
    if (!name || !*name || !(record = fopen(name, "w")))
        return false;
    recordProgressLines(
        [](void* file, const std::string& text) { fprintf((FILE*)file, "%s\n", text.c_str()); },
        record);
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
    if (!chooseSlots(&options, recipe))
        return badUsage(
            shownText(recipeName) + " has no save line: add one (save target=N) or give --slot N");
    RenderOptions& render = options.render;
    // Counted before anything runs, so a recipe made to run for hours, opened
    // by a thumbnailer, costs nothing.
    const RenderPlan plan = pictureKindRow(render.picture).takesHeightSlot
        ? planRenderOfSlots(recipe, materialSlots(render), options.seed)
        : planRender(recipe, render.slot, options.seed);
    const uint64_t applications = plannedApplications(plan);
    if (options.maxSteps > 0 && applications > (uint64_t)options.maxSteps) {
        fprintf(stderr,
            "%s would run %llu operations, more than the %lld that --max-steps allows\n",
            recipeName, (unsigned long long)applications, (long long)options.maxSteps);
        return EXIT_BAD_RECIPE;
    }
    setOperationThreads(options.threads > 0 ? options.threads : availableProcessors());
    render.showProgress = !options.quiet && (recordsProgress() || terminal);
    return renderRecipe(plan, options.output.c_str(), render) ? 0 : EXIT_NOT_WRITTEN;
}
