#include "session/recipe_file.h"

#include <cstring>
#include <utility>

#include "io/read_file.h"

bool loadRecipe(
    const char* path, const char* name, Recipe* recipe, std::string* error, std::string* text)
{
    *recipe = Recipe();
    std::string bytes;
    int reason = 0;
    switch (readWholeFile(path, MAX_RECIPE_FILE_BYTES, &bytes, &reason)) {
    case READ_TOO_LARGE:
        *error = std::string("Could not read ") + name + ": larger than "
            + std::to_string(MAX_RECIPE_FILE_BYTES >> 20) + " MiB";
        return false;
    case READ_FAILED:
        *error = std::string("Could not read ") + name + ": " + strerror(reason);
        return false;
    case READ_DONE:
        break;
    }
    if (!parseRecipe(bytes.data(), bytes.size(), name, recipe, error))
        return false;
    if (text)
        *text = std::move(bytes);
    return true;
}

std::string bitmapNameForRecipe(const char* recipeName)
{
    size_t stem = strlen(recipeName);
    if (stem >= RECIPE_SUFFIX_LENGTH
        && strcmp(recipeName + stem - RECIPE_SUFFIX_LENGTH, RECIPE_SUFFIX) == 0)
        stem -= RECIPE_SUFFIX_LENGTH;
    return std::string(recipeName, stem) + ".bmp";
}
