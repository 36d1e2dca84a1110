// Saving whole files safely: written beside their names, placed once they
// are complete, and any failure reported as one line on stderr.
#pragma once

#include <cstdio>

#include "io/pending_file.h"

enum SaveResult {
    SAVED,
    NAME_TAKEN, // KEEP_EXISTING found a name taken; nothing was reported
    SAVE_FAILED, // reported on stderr
};

// Writes a whole file's contents into `file`; returns null, or the reason it
// failed. Flushing and closing are the caller's.
typedef const char* (*FileWriter)(const void* data, FILE* file);

// One file of a group saved together.
struct FileToSave {
    const char* name;
    FileWriter write;
    const void* data;
};

// The most files one group may hold: a material and its five maps, and a
// scene file beside them.
const int MAX_FILES_SAVED_TOGETHER = 7;

// Prints "Could not save <fileName>: <reason>" as one line on stderr.
void reportSaveFailure(const char* fileName, const char* reason);

// Writes `data` through `write` into a pending file next to `fileName` and
// places it there. Leaves nothing behind but the placed file; a failure keeps
// any previous file byte for byte.
SaveResult saveFile(const char* fileName, Placement placement, FileWriter write, const void* data);

// Saves the files as saveFile does, but places them only once all are
// written, as a group (see placePendingFiles): with KEEP_EXISTING they land
// all or none, and NAME_TAKEN means none did. A failure is reported for the
// file that failed, and nothing is placed unless every file was written.
SaveResult saveFiles(const FileToSave* files, int count, Placement placement);

// saveFiles for a caller that reports a failure itself: on SAVE_FAILED sets
// the file that failed and the reason, and prints nothing.
SaveResult saveFilesQuietly(const FileToSave* files, int count, Placement placement,
    const char** failedFile, const char** reason);

// Whether a file could be saved as `fileName` now, before the work of making
// its contents: a pending file can be made beside it (its directory exists
// and takes a new file), and the name is not a directory. 0, or the reason
// the save would fail, as an errno value. Leaves nothing behind.
int checkSavable(const char* fileName);

// A FileWriter for a zero-terminated text.
const char* writeText(const void* text, FILE* file);
