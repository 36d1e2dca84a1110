// The renderer's command line: the options it takes, their values read
// and checked, and the usage and help it prints.
#pragma once

#include <cstdint>
#include <string>

#include "render/render_recipe.h"
#include "texture/normal_map.h"
#include "texture/texture.h"

// The one-line usage, and what --help prints after it (usage_text.cpp).
extern const char* const USAGE;
extern const char* const HELP;

// What the command line asks for.
struct CommandOptions {
    const char* recipe = nullptr; // "-" for standard input
    const char* output = nullptr;
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
};

// Reads the command line; false with `problem` set on bad usage.
bool readArguments(int argc, char** argv, CommandOptions* options, std::string* problem);

// Whether --help or -h comes before any "--".
bool asksForHelp(int argc, char** argv);
