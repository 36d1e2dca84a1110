// Rendering a recipe without a window: its replay on four slots of their
// own, one slot written to a BMP or PNG file.
#pragma once

#include <cstdint>

#include "session/recipe.h"

enum OutputFormat { OUTPUT_BMP, OUTPUT_PNG, OUTPUT_UNKNOWN };

// The format a file name asks for by its extension, .bmp or .png in any case.
OutputFormat outputFormatOf(const char* fileName);

// Replays the recipe from the start-up state and writes slot `slot` (0..3)
// to `fileName` through the window program's own export, replacing the
// file. False, with one line on stderr, if the file could not be written.
bool renderRecipe(const Recipe& recipe, int32_t slot, const char* fileName, OutputFormat format);
