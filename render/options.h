// The renderer's command line: the options it takes, their values read
// and checked, and the usage and help it prints.
#pragma once

#include <cstdint>
#include <string>

#include "render/render_recipe.h"
#include "texture/normal_map.h"
#include "texture/texture.h"

// What the command line asks for.
struct CommandOptions {
    const char* recipe = nullptr; // "-" for standard input
    const char* outputGiven = nullptr; // -o OUT
    int32_t slot = -1; // 0..3, or -1 for the save line's
    int32_t side = TEXTURE_SIZE;
    OutputFormat format = OUTPUT_UNKNOWN; // from OUT's name unless given
    int32_t depth = 8; // bits per channel while rendering
    int32_t bits = 0; // bits per channel written; 0 for the default
    bool normal = false; // write the slot's normal map
    bool height = false; // write the slot's heights
    bool material = false; // write colours, heights and normal map
    int32_t heightSlot = -1; // 0..3 with --material, or -1 for the recipe's
    NormalOptions normals; // its relief and which way its green points
    int32_t threads = 0; // 0: every processor
    int64_t maxSteps = 0; // 0: no bound
    uint32_t seed = 0; // the variation to render, 1..4294967295; 0: the recipe itself
    bool quiet = false;
    uint32_t given = 0; // bit i: OPTIONS[i] was given

    // Worked out from the rest by finishOptions.
    std::string output; // OUT, or RECIPE's name with .bmp or .png
    int32_t bitsWritten = 0; // bits per channel in the file
    std::string heightFile; // a material's heights beside OUT
    std::string normalFile; // and its normal map
};

// Reads an option's value into `options`; false with `problem` set if it is wrong.
typedef bool (*OptionReader)(const char* value, CommandOptions* options, std::string* problem);

// One option, all that is said of it: the parser, the usage line, --help
// and its messages read this.
struct OptionDeclaration {
    const char* name; // "--slot"
    const char* value; // its value as the usage names it, "bmp|png"; null for a flag
    const char* helpValue; // as --help names it, "F", where that differs
    const char* usageForm; // how the usage line shows it: %s is "--slot N"
    const char* help; // what --help says of it, its lines apart by "\n"
    OptionReader read;
};

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

// The format a file name asks for by its extension, .bmp or .png in any case.
OutputFormat outputFormatOf(const char* fileName);

// Whether RECIPE is standard input ("-").
bool readsStandardInput(const CommandOptions& options);

// Whether --help or -h comes before any "--".
bool asksForHelp(int argc, char** argv);

// The names that ask for --help's text, as the help lists them.
const char* const HELP_NAMES[2] = { "--help", "-h" };
