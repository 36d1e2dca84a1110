#include "session/recipe_file.h"

#include <cstring>
#include <utility>

#include "io/read_file.h"

bool readRecipeText(
    const char* path, const char* name, std::string* text, std::string* error, int* reason)
{
    int readError = 0;
    ReadResult result = readWholeFile(path, MAX_RECIPE_FILE_BYTES, text, &readError);
    if (reason)
        *reason = readError;
    switch (result) {
    case READ_TOO_LARGE:
        *error = std::string("Could not read ") + name + ": larger than "
            + std::to_string(MAX_RECIPE_FILE_BYTES >> 20) + " MiB";
        return false;
    case READ_FAILED:
        *error = std::string("Could not read ") + name + ": " + strerror(readError);
        return false;
    case READ_DONE:
        break;
    }
    return true;
}

bool loadRecipe(
    const char* path, const char* name, Recipe* recipe, std::string* error, std::string* text)
{
    *recipe = Recipe();
    std::string bytes;
    if (!readRecipeText(path, name, &bytes, error))
        return false;
    if (!parseRecipe(bytes.data(), bytes.size(), name, recipe, error))
        return false;
    if (text)
        *text = std::move(bytes);
    return true;
}

std::string recipeStem(const char* recipeName)
{
    size_t length = strlen(recipeName);
    if (length >= RECIPE_SUFFIX_LENGTH
        && strcmp(recipeName + length - RECIPE_SUFFIX_LENGTH, RECIPE_SUFFIX) == 0)
        length -= RECIPE_SUFFIX_LENGTH;
    return std::string(recipeName, length);
}

std::string bitmapNameForRecipe(const char* recipeName)
{
    return recipeStem(recipeName) + ".bmp";
}
