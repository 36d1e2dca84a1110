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
    check(!(options.material && (options.normal || options.height)),
        "--material excludes --normal and --height");
    check(!(options.height && options.normal), "--height excludes --normal");
    check(options.heightSlot >= -1 && options.heightSlot < 4, "the height slot is 1..4");
    check(options.heightSlot < 0 || options.material, "--height-slot needs --material");
    check(options.slot >= -1 && options.slot < 4, "the slot is 1..4");
    check(options.threads >= 0 && options.threads <= 256, "threads are 1..256");
    check(options.depth == 8 || options.depth == 16, "the depth is 8 or 16");
    check(options.bits == 0 || options.bits == 8 || options.bits == 16, "bits are 8 or 16");
    check(options.normals.relief > 0.0 && options.normals.relief <= MAX_RELIEF,
        "the relief is over 0 and up to its largest");
    check(options.maxSteps >= 0, "the bound of steps is not negative");
    if (!finishOptions(&options, &problem)) {
        check(!problem.empty() && problem.find('\n') == std::string::npos,
            "a refused output says why, on one line");
        return 0;
    }
    check(options.format == OUTPUT_BMP || options.format == OUTPUT_PNG, "the format is known");
    check(options.bitsWritten == 8 || options.bitsWritten == 16, "8 or 16 bits are written");
    check(options.bitsWritten == 8 || options.format == OUTPUT_PNG, "a BMP holds 8 bits");
    check(!options.height || options.bitsWritten == 16, "heights are 16-bit");
    return 0;
}
