#include "session/recipe_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool failToRead(const char* fileName, int reason, std::string* error)
{
    *error = std::string("Could not read ") + fileName + ": " + strerror(reason);
    return false;
}

// Reads at most MAX_RECIPE_FILE_BYTES + 1 bytes, so a longer file shows.
int readAtMostTheLimit(FILE* file, std::string& text)
{
    char chunk[65536];
    while (text.size() <= MAX_RECIPE_FILE_BYTES) {
        size_t count = fread(chunk, 1, sizeof chunk, file);
        text.append(chunk, count);
        if (count < sizeof chunk)
            return ferror(file) ? (errno ? errno : EIO) : 0;
    }
    return 0;
}

} // namespace

bool readRecipeFile(const char* fileName, Recipe* recipe, std::string* error)
{
    *recipe = Recipe();
    FILE* file = fopen(fileName, "rb");
    if (!file)
        return failToRead(fileName, errno, error);
    std::string text;
    errno = 0;
    int reason = readAtMostTheLimit(file, text);
    fclose(file);
    if (reason)
        return failToRead(fileName, reason, error);
    if (text.size() > MAX_RECIPE_FILE_BYTES)
        return failToRead(fileName, EFBIG, error);
    return parseRecipe(text.data(), text.size(), fileName, recipe, error);
}
