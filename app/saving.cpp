#include "app/saving.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/control_panel.h"
#include "app/followed_recipe.h"
#include "app/messages.h"
#include "app/state.h"
#include "io/file_system.h"
#include "session/recipe.h"
#include "session/recipe_file.h"
#include "texture/bmp_export.h"

namespace {

// Save file names have three digits.
const int32_t LAST_SAVE_NUMBER = 999;
const char SAVE_NAME_PREFIX[] = "texture";
const size_t SAVE_NAME_DIGITS = 3;

void formatNumberedName(char* name, int32_t number, const char* suffix)
{
    snprintf(name, SAVE_FILE_NAME_SIZE, "%s%.*d%s", SAVE_NAME_PREFIX, (int)SAVE_NAME_DIGITS,
        (int)number, suffix);
}

// NNN of a path whose last part is "textureNNN.recipe", or 0.
int32_t recipeNumber(const char* path)
{
    const size_t prefixLength = sizeof SAVE_NAME_PREFIX - 1;
    const size_t digits = SAVE_NAME_DIGITS;
    const char* base = lastPathPart(path);
    if (strlen(base) != prefixLength + digits + RECIPE_SUFFIX_LENGTH
        || strncmp(base, SAVE_NAME_PREFIX, prefixLength) != 0
        || strcmp(base + prefixLength + digits, RECIPE_SUFFIX) != 0)
        return 0;
    int32_t number = 0;
    for (size_t i = prefixLength; i < prefixLength + digits; ++i) {
        if (base[i] < '0' || base[i] > '9')
            return 0;
        number = number * 10 + (base[i] - '0');
    }
    return number;
}

// The first number from `first` on for which both textureNNN.bmp and
// textureNNN.recipe are free, with those names; -1 if there is none.
int32_t freeNumberFrom(int32_t first, char* bitmapName, char* recipeName)
{
    for (int32_t number = first; number <= LAST_SAVE_NUMBER; ++number) {
        formatNumberedName(bitmapName, number, ".bmp");
        formatNumberedName(recipeName, number, RECIPE_SUFFIX);
        if (!nameExists(bitmapName) && !nameExists(recipeName))
            return number;
    }
    return -1;
}

// Saves the group of files; a failure is shown to the user.
SaveResult saveAndShowFailure(const FileToSave* files, int count, Placement placement)
{
    const char* failedFile = nullptr;
    const char* reason = nullptr;
    SaveResult result = saveFilesQuietly(files, count, placement, &failedFile, &reason);
    if (result == SAVE_FAILED)
        showSaveFailure(failedFile, reason);
    return result;
}

// Writes the target slot to `bitmapName` alone.
void saveBitmap(const char* bitmapName)
{
    const TextureImage<Pixel> image = imageOf(slots[targetSlot]->getPixels(), TEXTURE_SIZE);
    const FileToSave file { bitmapName, writeTextureBmpData<Pixel>, &image };
    saveAndShowFailure(&file, 1, REPLACE_EXISTING);
}

// The recipe of the session, ending in a save of the target: a reopened
// recipe's own text with the lines recorded since, or the whole session's.
// Saved in the lit view, it names the source, shown as the target's
// heights, in a material line, so the renderer writes that material; the
// line keeps the reopened recipe's roughness and metallic slots, which the
// added line would otherwise drop, being the last.
std::string sessionRecipe()
{
    MaterialSlots material;
    if (slotArea == SlotArea::LIT) {
        material = reopenedMaterial;
        material.height = sourceSlot;
    }
    if (reopenedRecipeText.empty())
        return formatRecipe(session.lines, targetSlot, material);
    return formatContinuedRecipe(
        reopenedRecipeText, session.lines, replayedLineCount, targetSlot, material);
}

// Writes the target slot to `bitmapName` and the session's recipe to
// `recipeName`, as one group.
SaveResult saveWithRecipe(const char* bitmapName, const char* recipeName, Placement placement)
{
    std::string recipe = sessionRecipe();
    const TextureImage<Pixel> image = imageOf(slots[targetSlot]->getPixels(), TEXTURE_SIZE);
    const FileToSave files[2] = {
        { bitmapName, writeTextureBmpData<Pixel>, &image },
        { recipeName, writeText, recipe.c_str() },
    };
    SaveResult result = saveAndShowFailure(files, 2, placement);
    // The window's own save is no change to follow.
    if (result == SAVED)
        noteRecipeSaved(recipeName, recipe);
    return result;
}

void reportNoFreeNumber()
{
    char reason[80];
    if (saveCounter >= LAST_SAVE_NUMBER)
        snprintf(reason, sizeof reason, "no number is left above %d", (int)LAST_SAVE_NUMBER);
    else
        snprintf(reason, sizeof reason, "texture%.3d.bmp to texture%.3d.bmp are all taken",
            (int)(saveCounter + 1), (int)LAST_SAVE_NUMBER);
    showSaveFailure("a new texture", reason);
}

} // namespace

void nameSaveFilesAtLaunch(const char* recipeName)
{
    if (!recipeName) {
        saveCounter = 0;
        formatNumberedName(saveFileName, 0, ".bmp");
        recipeFileName[0] = '\0';
        return;
    }
    saveCounter = recipeNumber(recipeName);
    snprintf(recipeFileName, sizeof recipeFileName, "%s", recipeName);
    snprintf(saveFileName, sizeof saveFileName, "%s", bitmapNameForRecipe(recipeName).c_str());
}

void runSave()
{
    if (!recipeFileName[0])
        saveBitmap(saveFileName);
    // An editor's text is never written over: a message says why not.
    else if (followedFileMayBeSaved())
        saveWithRecipe(saveFileName, recipeFileName, REPLACE_EXISTING);
}

bool saveAgain()
{
    runSave();
    return false;
}

bool nextNewFileNames(char* bitmapName, char* recipeName)
{
    return freeNumberFrom(saveCounter + 1, bitmapName, recipeName) >= 0;
}

bool saveAsNewFile()
{
    char bitmapName[SAVE_FILE_NAME_SIZE];
    char recipeName[SAVE_FILE_NAME_SIZE];
    for (int32_t number = freeNumberFrom(saveCounter + 1, bitmapName, recipeName); number >= 0;
         number = freeNumberFrom(number + 1, bitmapName, recipeName)) {
        SaveResult result = saveWithRecipe(bitmapName, recipeName, KEEP_EXISTING);
        // Taken between the look and the rename: the next number is as good.
        if (result == NAME_TAKEN)
            continue;
        if (result == SAVE_FAILED)
            return false;
        saveCounter = number;
        memcpy(saveFileName, bitmapName, sizeof saveFileName);
        memcpy(recipeFileName, recipeName, sizeof recipeFileName);
        showSaveFileName();
        return true;
    }
    reportNoFreeNumber();
    return false;
}
