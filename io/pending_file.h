// A file written under a temporary name beside its final name and moved into
// place only once it is complete, so a reader never sees half a file and a
// failed write never costs the previous one.
#pragma once

#include <cstdio>

#include "io/file_system.h"

// Longest path a pending file handles, its temporary suffix included.
const int PENDING_NAME_SIZE = 4096;

// How a finished file takes its final name.
enum Placement {
    REPLACE_EXISTING, // replaces whatever has the name, atomically
    KEEP_EXISTING, // never replaces anything; an existing name fails with EEXIST
};

struct PendingFile {
    char finalName[PENDING_NAME_SIZE];
    char temporaryName[PENDING_NAME_SIZE];
    FILE* file; // open for writing between begin and finish, else null
    // The temporary file's identity, to recognise it under its final name.
    FileIdentity identity;
    bool temporaryExists; // the temporary name is still ours to remove
    int error; // errno of the last failure, 0 if none
};

// Creates an empty temporary file next to `finalName`, with the permission
// bits fopen would give a new file under the umask, and opens it for writing.
// On failure sets `error` and leaves nothing behind; either way the record is
// ready for discardPendingFile.
bool beginPendingFile(PendingFile& pending, const char* finalName);

// Flushes, checks, syncs to the disk and closes the file: a write error that
// shows only at the flush, in the stream's error flag or at the sync fails
// it. On failure sets `error`; the temporary stays until discarded.
bool finishPendingFile(PendingFile& pending);

// Moves a finished temporary file to its final name. On failure sets `error`
// (EEXIST when KEEP_EXISTING meets a taken name) and leaves the temporary.
bool placePendingFile(PendingFile& pending, Placement placement);

// Places finished files in order. If one fails, the files this call placed
// with KEEP_EXISTING are removed again, so such a group lands whole or not at
// all; with REPLACE_EXISTING the files already placed stay. Returns false with
// the failing file's `error` set; the temporaries not placed stay.
bool placePendingFiles(PendingFile* files, int count, Placement placement);

// Closes the file if it is still open and removes the temporary if it is
// still there. Safe to call in any state, any number of times.
void discardPendingFile(PendingFile& pending);
