#include "io/save_file.h"

#include <cerrno>
#include <cstring>

namespace {

// Begins, writes and finishes a pending file; null, or the reason it failed.
const char* writePending(PendingFile& pending, const FileToSave& file)
{
    if (!beginPendingFile(pending, file.name))
        return strerror(pending.error);
    // The writer's reason comes first: a failed write also fails the flush.
    const char* failure = file.write(file.data, pending.file);
    if (!finishPendingFile(pending) && !failure)
        failure = strerror(pending.error);
    return failure;
}

} // namespace

void reportSaveFailure(const char* fileName, const char* reason)
{
    fprintf(stderr, "Could not save %s: %s\n", fileName, reason);
}

SaveResult saveFile(const char* fileName, Placement placement, FileWriter write, const void* data)
{
    FileToSave file = { fileName, write, data };
    return saveFiles(&file, 1, placement);
}

SaveResult saveFiles(const FileToSave* files, int count, Placement placement)
{
    const char* failedName = nullptr;
    const char* reason = nullptr;
    SaveResult result = saveFilesQuietly(files, count, placement, &failedName, &reason);
    if (result == SAVE_FAILED)
        reportSaveFailure(failedName, reason);
    return result;
}

SaveResult saveFilesQuietly(const FileToSave* files, int count, Placement placement,
    const char** failedFile, const char** reason)
{
    if (count < 1 || count > MAX_FILES_SAVED_TOGETHER) {
        *failedFile = count > 0 ? files[0].name : "nothing";
        *reason = strerror(EINVAL);
        return SAVE_FAILED;
    }
    PendingFile pending[MAX_FILES_SAVED_TOGETHER];
    const char* failure = nullptr;
    const char* failedName = nullptr;
    int written = 0;
    for (; written < count && !failure; ++written) {
        failure = writePending(pending[written], files[written]);
        failedName = files[written].name;
    }
    SaveResult result = SAVED;
    if (!failure && !placePendingFiles(pending, count, placement)) {
        // The file that failed is the first with an error.
        int failed = 0;
        while (failed < count - 1 && pending[failed].error == 0)
            ++failed;
        if (placement == KEEP_EXISTING && pending[failed].error == EEXIST)
            result = NAME_TAKEN;
        else
            failure = strerror(pending[failed].error);
        failedName = files[failed].name;
    }
    for (int i = 0; i < written; ++i)
        discardPendingFile(pending[i]);
    if (failure) {
        *failedFile = failedName;
        *reason = failure;
        return SAVE_FAILED;
    }
    return result;
}

int checkSavable(const char* fileName)
{
    PendingFile pending;
    int error = beginPendingFile(pending, fileName) ? 0 : pending.error;
    discardPendingFile(pending);
    // A file is never renamed over a directory.
    if (!error && isDirectory(fileName))
        error = EISDIR;
    return error;
}

const char* writeText(const void* text, FILE* file)
{
    const char* characters = (const char*)text;
    size_t length = strlen(characters);
    errno = 0;
    if (fwrite(characters, 1, length, file) != length)
        return strerror(errno ? errno : EIO);
    return nullptr;
}
