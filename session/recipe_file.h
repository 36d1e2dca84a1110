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

// Reads the whole of the file `path` as loadRecipe does, without parsing
// it. On failure returns false with `error` set as loadRecipe sets it and
// `reason` (when given) the errno, 0 for a file that is too large.
bool readRecipeText(const char* path, const char* name, std::string* text, std::string* error,
    int* reason = nullptr);

// A recipe file's name without a trailing ".recipe", which the names of the
// files made from it replace; the whole name when it has no such end. Empty
// for the name ".recipe" itself.
std::string recipeStem(const char* recipeName);

// The bitmap that goes with a recipe file: its stem with ".bmp" after it.
std::string bitmapNameForRecipe(const char* recipeName);
