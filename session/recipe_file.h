// Reading a recipe from a file or standard input, as both programs do.
#pragma once

#include <cstddef>
#include <string>

#include "session/recipe.h"

// The end of a recipe file's name, which the names derived from it replace.
const char RECIPE_SUFFIX[] = ".recipe";
const size_t RECIPE_SUFFIX_LENGTH = sizeof RECIPE_SUFFIX - 1;

// Far beyond any recipe, which is a line per press; keeps a wrong file or an
// endless input from being read whole.
const size_t MAX_RECIPE_FILE_BYTES = (size_t)16 << 20;

// Reads the whole of the file `path` (standard input when `path` is null)
// and parses it, naming it `name` in messages. On failure returns false,
// leaves `recipe` empty and sets `error` to one line: "Could not read <name>:
// <reason>" when it cannot be read or is larger than MAX_RECIPE_FILE_BYTES,
// else the parser's message. When `text` is given it receives the bytes read,
// as they are, for a caller that writes the recipe back.
bool loadRecipe(const char* path, const char* name, Recipe* recipe, std::string* error,
    std::string* text = nullptr);

// The bitmap that goes with a recipe file: its name with ".bmp" in place of
// a trailing ".recipe", or after the whole name.
std::string bitmapNameForRecipe(const char* recipeName);
