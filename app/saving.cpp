#include "app/saving.h"

#include <cstdio>
#include <sys/stat.h>

#include "app/control_panel.h"
#include "app/state.h"
#include "texture/bmp_export.h"

namespace {

// Save file names have three digits.
const int32_t LAST_SAVE_NUMBER = 999;

void formatSaveName(char* name, int32_t number)
{
    snprintf(name, SAVE_FILE_NAME_SIZE, "texture%.3d.bmp", (int)number);
}

// Whether anything has the name, a dangling symbolic link included.
bool nameTaken(const char* name)
{
    struct stat status;
    return lstat(name, &status) == 0;
}

void reportNoFreeNumber()
{
    char reason[80];
    if (saveCounter >= LAST_SAVE_NUMBER)
        snprintf(reason, sizeof reason, "no number is left above %d", (int)LAST_SAVE_NUMBER);
    else
        snprintf(reason, sizeof reason, "texture%.3d.bmp to texture%.3d.bmp are all taken",
            (int)(saveCounter + 1), (int)LAST_SAVE_NUMBER);
    reportSaveFailure("a new texture", reason);
}

} // namespace

void nameSaveFile(int32_t number)
{
    saveCounter = number;
    formatSaveName(saveFileName, number);
}

void runSave()
{
    saveTextureBmp(slots[targetSlot]->getPixels(), saveFileName);
}

bool saveAgain()
{
    runSave();
    return false;
}

bool saveAsNewFile()
{
    char name[SAVE_FILE_NAME_SIZE];
    for (int32_t number = saveCounter + 1; number <= LAST_SAVE_NUMBER; ++number) {
        formatSaveName(name, number);
        if (nameTaken(name))
            continue;
        SaveResult result = saveNewTextureBmp(slots[targetSlot]->getPixels(), name);
        // Taken between the look and the rename: the next number is as good.
        if (result == NAME_TAKEN)
            continue;
        if (result == SAVE_FAILED)
            return false;
        nameSaveFile(number);
        showSaveFileName();
        return true;
    }
    reportNoFreeNumber();
    return false;
}
