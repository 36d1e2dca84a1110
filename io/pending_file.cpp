#include "io/pending_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool fail(PendingFile& pending, int error)
{
    pending.error = error;
    return false;
}

// Finished and not yet placed: the only state a file can be placed from.
bool readyToPlace(const PendingFile& pending)
{
    return !pending.file && pending.temporaryExists;
}

// Removes a file placed by this process, unless something else has taken
// its name since: only the file we created goes.
void removePlacedFile(const PendingFile& pending)
{
    if (isFile(pending.finalName, pending.identity))
        removeFile(pending.finalName);
}

} // namespace

bool beginPendingFile(PendingFile& pending, const char* finalName)
{
    pending.finalName[0] = '\0';
    pending.temporaryName[0] = '\0';
    pending.file = nullptr;
    pending.identity = FileIdentity();
    pending.temporaryExists = false;
    pending.error = 0;

    // The temporary lives in the final name's directory, so placing it is a
    // rename within one filesystem.
    int length
        = snprintf(pending.temporaryName, sizeof pending.temporaryName, "%s.XXXXXX", finalName);
    if (length < 0 || (size_t)length >= sizeof pending.temporaryName)
        return fail(pending, ENAMETOOLONG);
    snprintf(pending.finalName, sizeof pending.finalName, "%s", finalName);
    int error = 0;
    pending.file = createUniqueFile(pending.temporaryName, &pending.identity, &error);
    if (!pending.file)
        return fail(pending, error);
    pending.temporaryExists = true;
    return true;
}

bool finishPendingFile(PendingFile& pending)
{
    if (!pending.file)
        return fail(pending, EBADF);
    FILE* file = pending.file;
    pending.file = nullptr;
    // A write error may surface only at the flush, or only in the error flag
    // of a stream whose writer did not check; the sync catches what the disk
    // refuses.
    int error = 0;
    if (fflush(file) != 0)
        error = errno ? errno : EIO;
    else if (ferror(file))
        error = EIO;
    else
        error = syncFileToDisk(file);
    if (fclose(file) != 0 && !error)
        error = errno ? errno : EIO;
    return error ? fail(pending, error) : true;
}

bool placePendingFile(PendingFile& pending, Placement placement)
{
    if (!readyToPlace(pending))
        return fail(pending, EBADF);
    int error = placement == REPLACE_EXISTING
        ? renameReplacing(pending.temporaryName, pending.finalName)
        : renameKeeping(pending.temporaryName, pending.finalName);
    if (error)
        return fail(pending, error);
    pending.temporaryExists = false;
    return true;
}

bool placePendingFiles(PendingFile* files, int count, Placement placement)
{
    // Every file must be complete before the first one moves.
    for (int i = 0; i < count; ++i)
        if (!readyToPlace(files[i]))
            return fail(files[i], EBADF);
    for (int i = 0; i < count; ++i) {
        if (placePendingFile(files[i], placement))
            continue;
        // A file that replaced another cannot be taken back; one that took a
        // free name can, leaving the name free again.
        if (placement == KEEP_EXISTING)
            for (int placed = 0; placed < i; ++placed)
                removePlacedFile(files[placed]);
        return false;
    }
    return true;
}

void discardPendingFile(PendingFile& pending)
{
    if (pending.file) {
        fclose(pending.file);
        pending.file = nullptr;
    }
    if (pending.temporaryExists) {
        removeFile(pending.temporaryName);
        pending.temporaryExists = false;
    }
}
