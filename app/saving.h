// Saving the target slot: the "Save" button and its key, and saving under a
// new name that no file has yet. A name chosen that way, or a reopened
// recipe's, also gets the session's recipe beside the bitmap; after a
// reopening that recipe is the opened file's text, unchanged, with the
// lines recorded since.
#pragma once

// The save file names at launch: "texture000.bmp" without a recipe; or, for
// a reopened recipe, the recipe's own name and beside it the bitmap, named
// with ".bmp" in place of a trailing ".recipe" (or after the whole name). A
// reopened "textureNNN.recipe" makes NNN the number saving as a new file
// counts up from. `recipeName` is null when none was reopened.
void nameSaveFilesAtLaunch(const char* recipeName);

// "Save" and Ctrl+S: writes the target slot to saveFileName and, if there is
// a recipe name, the recipe beside it, replacing both; but not over a
// followed recipe that changed on disk, which a message says instead. A
// failure is reported on stderr, and in the window where the system has no
// message box.
void runSave();

// Ctrl+S: as runSave. False: the window shows nothing new.
bool saveAgain();

// The names Ctrl+Shift+S would save under now, each in a buffer of
// SAVE_FILE_NAME_SIZE; false if no number up to 999 is free.
bool nextNewFileNames(char* bitmapName, char* recipeName);

// Ctrl+Shift+S: saves the target slot as "textureNNN.bmp" and the recipe as
// "textureNNN.recipe", with the lowest NNN above saveCounter for which both
// names are free, never replacing a file. On success they become the save
// file names, the bitmap's is shown beside "Save", and true is returned. A
// failure (no free number up to 999, or the save itself) is shown as runSave
// shows one, and leaves the names as they were.
bool saveAsNewFile();
