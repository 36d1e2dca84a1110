// Saving one whole file safely: written beside its name, placed once it is
// complete, and any failure reported as one line on stderr.
#pragma once

#include <cstdio>

#include "io/pending_file.h"

enum SaveResult {
    SAVED,
    NAME_TAKEN, // KEEP_EXISTING found the name taken; nothing was reported
    SAVE_FAILED, // reported on stderr
};

// Writes a whole file's contents into `file`; returns null, or the reason it
// failed. Flushing and closing are the caller's.
typedef const char* (*FileWriter)(const void* data, FILE* file);

// Prints "Could not save <fileName>: <reason>" as one line on stderr.
void reportSaveFailure(const char* fileName, const char* reason);

// Writes `data` through `write` into a pending file next to `fileName` and
// places it there. Leaves nothing behind but the placed file; a failure keeps
// any previous file byte for byte.
SaveResult saveFile(const char* fileName, Placement placement, FileWriter write, const void* data);
