// Reading a recipe from a file.
#pragma once

#include <cstddef>
#include <string>

#include "session/recipe.h"

// Longer files are refused unread: no recipe a person makes comes near it,
// and a device that never ends must not fill the memory.
const size_t MAX_RECIPE_FILE_BYTES = 16 * 1024 * 1024;

// Reads the whole file and parses it. On failure returns false, leaves
// `recipe` empty and sets `error` to one line: "Could not read <fileName>:
// <reason>" when the file cannot be read, else the parser's message.
bool readRecipeFile(const char* fileName, Recipe* recipe, std::string* error);
