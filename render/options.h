// The renderer's command line: the options it takes, their values read
// and checked, and the usage and help it prints.
#pragma once

#include <cstdint>
#include <string>

#include "render/render_recipe.h"
#include "session/recipe_file.h"

// What the command line asks for. What the render itself reads is filled
// in where it is read, so that main hands it on whole.
struct CommandOptions {
    const char* recipe = nullptr; // "-" for standard input
    const char* outputGiven = nullptr; // -o OUT
    int32_t slot = -1; // 0..3, or -1 for the save line's
    int32_t bits = 0; // bits per channel written; 0 for the default
    int32_t heightSlot = -1; // 0..3 with --material, or -1 for the recipe's
    int32_t threads = 0; // 0: every processor
    int64_t maxSteps = 0; // 0: no bound
    uint32_t seed = 0; // the variation to render, 1..4294967295; 0: the recipe itself
    bool quiet = false;
    uint32_t given = 0; // bit i: OPTIONS[i] was given
    // --size, --format (OUTPUT_UNKNOWN: from OUT's name), --depth, the kind
    // of picture and its normal map's options as read; its bits, format and
    // a material's other files once finishOptions has worked them out, and
    // its slots once the recipe is read.
    RenderOptions render;

    // Worked out from the rest by finishOptions.
    std::string output; // OUT, or RECIPE's name with .bmp or .png
};

struct OptionDeclaration;

// Reads an option's value into `options`; false with `problem` set if it
// is wrong. The option's declaration gives its name and range to its message.
typedef bool (*OptionReader)(const OptionDeclaration& option, const char* value,
    CommandOptions* options, std::string* problem);

// The whole numbers an option takes, least..most; both 0 for an option that
// takes none.
struct WholeRange {
    int64_t least;
    int64_t most;
};

// One option, all that is said of it: the parser, the usage line, --help
// and its messages read this.
struct OptionDeclaration {
    const char* name; // "--slot"
    const char* value; // its value as the usage names it, "bmp|png"; null for a flag
    const char* helpValue; // as --help names it, "F", where that differs
    const char* usageForm; // how the usage line shows it: %s is "--slot N"
    // What --help says of it, its lines apart by "\n"; RANGE_MARK in it
    // stands for `range`, as "1..4".
    const char* help;
    OptionReader read;
    WholeRange range;
};

// What an option's help writes where its range goes.
const char* const RANGE_MARK = "{range}";

// "1..4": a range as the help and the messages show it.
std::string rangeText(const WholeRange& range);

// Every option, each given at most once, in the order the usage, --help and
// the manual page list them (options.cpp).
extern const OptionDeclaration OPTIONS[];
extern const int32_t OPTION_COUNT;

// The one-line usage, from "usage: " on (usage_text.cpp).
const std::string& usageLine();

// What --help prints after the usage line.
const std::string& helpText();

// Reads the command line; false with `problem` set on bad usage.
bool readArguments(int argc, char** argv, CommandOptions* options, std::string* problem);

// The place in OPTIONS of the option of that name, or OPTION_COUNT.
int32_t optionIndex(const char* name);

// The rules between options that need no file name: one kind of picture,
// and the options that go only with another (option_rules.cpp); false with
// `problem` set when one is broken. readArguments applies them.
bool checkOptionRules(const CommandOptions& options, std::string* problem);

// Works out the output's name, format and bits, and a material's other
// files, checking the rules that take them into account; false with
// `problem` set when one is broken.
bool finishOptions(CommandOptions* options, std::string* problem);

// The slots the render writes, from --slot and --height-slot or else the
// recipe's save and material lines; false if the recipe has no save line
// and --slot is not given.
bool chooseSlots(CommandOptions* options, const Recipe& recipe);

// A material's file beside OUT: OUT's name with `mark` ("-height") before
// its extension, and that extension, or `extension` in its place if given.
// A name's leading dot, as in ".png", starts no extension.
std::string besideOutput(const std::string& output, const char* mark, const char* extension);

// The format a file name asks for by its extension, .bmp or .png in any case.
OutputFormat outputFormatOf(const char* fileName);

// Whether RECIPE is standard input ("-").
bool readsStandardInput(const CommandOptions& options);

// Whether --help or -h comes before any "--".
bool asksForHelp(int argc, char** argv);

// The names that ask for --help's text, as the help lists them.
const char* const HELP_NAMES[2] = { "--help", "-h" };
