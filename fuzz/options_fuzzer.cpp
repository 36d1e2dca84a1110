// Feeds the renderer's command-line reader arbitrary argument vectors: the
// input's bytes split at NUL bytes, one argument each. Whatever it accepts
// must obey the rules between options (one kind of picture, --height-slot
// only with --material, the ranges of every value); whatever it refuses
// must be refused with one line saying why. Built with libFuzzer and the
// address and undefined-behaviour sanitizers, so an out-of-bounds read of
// an argument is caught as well.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "render/options.h"
#include "texture/parallel.h"

namespace {

// Stops the run with a message when a property fails; libFuzzer then saves the input.
void check(bool holds, const char* property)
{
    if (holds)
        return;
    fprintf(stderr, "options_fuzzer: violated: %s\n", property);
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // "quiltor-render" first, as a system passes the program's name.
    std::vector<std::string> arguments(1, "quiltor-render");
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.push_back(current);
            current.clear();
        } else {
            current += (char)data[i];
        }
    }
    arguments.push_back(current);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);

    CommandOptions options;
    std::string problem;
    if (!readArguments((int)arguments.size(), argv.data(), &options, &problem)) {
        check(!problem.empty(), "a refusal says why");
        check(problem.find('\n') == std::string::npos, "a refusal is one line");
        return 0;
    }
    check(options.recipe != nullptr, "an accepted command line names a recipe");
    const RenderOptions& render = options.render;
    int32_t kindsGiven = 0;
    for (const PictureKindRow& row : PICTURE_KINDS)
        kindsGiven += row.option && (options.given & (1u << optionIndex(row.option)));
    check(kindsGiven <= 1, "one kind of picture at a time");
    check(kindsGiven == 1 || render.picture == PICTURE_COLORS, "colours unless another is given");
    check(options.heightSlot >= -1 && options.heightSlot < 4, "the height slot is 1..4");
    check(options.heightSlot < 0 || render.picture == PICTURE_MATERIAL,
        "--height-slot needs --material");
    check(options.slot >= -1 && options.slot < 4, "the slot is 1..4");
    check(options.threads >= 0 && options.threads <= MAX_OPERATION_THREADS,
        "threads are 1..MAX_OPERATION_THREADS");
    check(render.depth == 8 || render.depth == 16, "the depth is 8 or 16");
    check(options.bits == 0 || options.bits == 8 || options.bits == 16, "bits are 8 or 16");
    check(render.normals.relief > 0.0 && render.normals.relief <= MAX_RELIEF,
        "the relief is over 0 and up to its largest");
    check(options.maxSteps >= 0, "the bound of steps is not negative");
    if (!finishOptions(&options, &problem)) {
        check(!problem.empty() && problem.find('\n') == std::string::npos,
            "a refused output says why, on one line");
        return 0;
    }
    check(render.format == OUTPUT_BMP || render.format == OUTPUT_PNG, "the format is known");
    check(render.bits == 8 || render.bits == 16, "8 or 16 bits are written");
    check(render.bits == 8 || render.format == OUTPUT_PNG, "a BMP holds 8 bits");
    check(render.picture != PICTURE_HEIGHTS || render.bits == 16, "heights are 16-bit");
    check(render.engine == ENGINE_NONE
            || (render.picture == PICTURE_MATERIAL && render.format == OUTPUT_PNG),
        "an engine's material is a material of PNGs");
    check(render.mapBits == 8 || render.format == OUTPUT_PNG, "a BMP's maps are of 8 bits");
    check(render.materialFiles.empty() || render.picture == PICTURE_MATERIAL,
        "only a material writes files beside OUT");
    return 0;
}
