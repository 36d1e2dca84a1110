#include "io/save_file.h"

#include <cerrno>
#include <cstring>

void reportSaveFailure(const char* fileName, const char* reason)
{
    fprintf(stderr, "Could not save %s: %s\n", fileName, reason);
}

SaveResult saveFile(const char* fileName, Placement placement, FileWriter write, const void* data)
{
    PendingFile pending;
    const char* failure = nullptr;
    if (!beginPendingFile(pending, fileName)) {
        failure = strerror(pending.error);
    } else {
        // The writer's reason comes first: a failed write also fails the flush.
        failure = write(data, pending.file);
        if (!finishPendingFile(pending) && !failure)
            failure = strerror(pending.error);
        if (!failure && !placePendingFile(pending, placement)) {
            if (placement == KEEP_EXISTING && pending.error == EEXIST) {
                discardPendingFile(pending);
                return NAME_TAKEN;
            }
            failure = strerror(pending.error);
        }
    }
    discardPendingFile(pending);
    if (failure) {
        reportSaveFailure(fileName, failure);
        return SAVE_FAILED;
    }
    return SAVED;
}
