#include "io/pending_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool fail(PendingFile& pending, int error)
{
    pending.error = error;
    return false;
}

// The permission bits a file created with fopen would get under the umask.
mode_t newFileMode()
{
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
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
    struct stat status;
    if (lstat(pending.finalName, &status) == 0 && status.st_dev == pending.device
        && status.st_ino == pending.inode)
        unlink(pending.finalName);
}

} // namespace

bool beginPendingFile(PendingFile& pending, const char* finalName)
{
    pending.finalName[0] = '\0';
    pending.temporaryName[0] = '\0';
    pending.file = nullptr;
    pending.device = 0;
    pending.inode = 0;
    pending.temporaryExists = false;
    pending.error = 0;

    // The temporary lives in the final name's directory, so placing it is a
    // rename within one filesystem.
    int length
        = snprintf(pending.temporaryName, sizeof pending.temporaryName, "%s.XXXXXX", finalName);
    if (length < 0 || (size_t)length >= sizeof pending.temporaryName)
        return fail(pending, ENAMETOOLONG);
    snprintf(pending.finalName, sizeof pending.finalName, "%s", finalName);
    int descriptor = mkstemp(pending.temporaryName);
    if (descriptor < 0)
        return fail(pending, errno);
    pending.temporaryExists = true;
    // mkstemp makes the file private; a saved file is as readable as any other.
    fchmod(descriptor, newFileMode());

    struct stat status;
    if (fstat(descriptor, &status) != 0 || !(pending.file = fdopen(descriptor, "wb"))) {
        int error = errno;
        close(descriptor);
        discardPendingFile(pending);
        return fail(pending, error);
    }
    pending.device = status.st_dev;
    pending.inode = status.st_ino;
    return true;
}

bool finishPendingFile(PendingFile& pending)
{
    if (!pending.file)
        return fail(pending, EBADF);
    FILE* file = pending.file;
    pending.file = nullptr;
    // A write error may surface only at the flush, or only in the error flag
    // of a stream whose writer did not check; fsync catches what the disk refuses.
    int error = 0;
    if (fflush(file) != 0 || fsync(fileno(file)) != 0)
        error = errno;
    else if (ferror(file))
        error = EIO;
    if (fclose(file) != 0 && !error)
        error = errno;
    return error ? fail(pending, error) : true;
}

bool placePendingFile(PendingFile& pending, Placement placement)
{
    if (!readyToPlace(pending))
        return fail(pending, EBADF);
    int error = 0;
    if (placement == REPLACE_EXISTING) {
        // rename replaces a symlink named finalName itself, never its target.
        if (rename(pending.temporaryName, pending.finalName) != 0)
            error = errno;
    } else if (renameat2(
                   AT_FDCWD, pending.temporaryName, AT_FDCWD, pending.finalName, RENAME_NOREPLACE)
        != 0) {
        error = errno;
        // Kernels or filesystems without the no-replace rename say so with
        // EINVAL or ENOSYS; a hard link refuses a taken name just as well.
        if (error == EINVAL || error == ENOSYS)
            error = linkIntoPlace(pending.temporaryName, pending.finalName);
    }
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
        unlink(pending.temporaryName);
        pending.temporaryExists = false;
    }
}

int linkIntoPlace(const char* temporaryName, const char* finalName)
{
    // link never replaces: a taken final name fails with EEXIST.
    if (link(temporaryName, finalName) != 0)
        return errno;
    // The file is in place under both names now; losing the temporary name
    // cannot undo that, so its failure is not the save's failure.
    unlink(temporaryName);
    return 0;
}
