// Saving the target slot: the "Save" button and its key, and saving under a
// new name that no file has yet.
#pragma once

#include <cstdint>

// Makes "textureNNN.bmp" with the given number the save file name, and the
// number saveCounter.
void nameSaveFile(int32_t number);

// "Save" and Ctrl+S: writes the target slot to saveFileName, replacing it.
// A failure is reported on stderr and changes nothing.
void runSave();

// Ctrl+S: as runSave. False: the window shows nothing new.
bool saveAgain();

// Ctrl+Shift+S: saves the target slot as the first free "textureNNN.bmp"
// numbered above saveCounter, never replacing a file; on success it becomes
// the save file name and is shown beside "Save", and true is returned. A
// failure (no free number up to 999, or the save itself) prints one line on
// stderr and leaves the name as it was.
bool saveAsNewFile();
