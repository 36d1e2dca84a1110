#include "io/file_watch.h"

#include <windows.h>

#include "io/file_system.h"
#include "io/wide_name_windows.h"

namespace {

// A name given to the file or taken from it (a rename over it included),
// and its size or time of last writing changed: every way a save shows.
const DWORD WATCHED_CHANGES
    = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

HANDLE handleOf(const FileWatch& watch)
{
    return (HANDLE)watch.waitable;
}

} // namespace

bool startFileWatch(FileWatch& watch, const char* path)
{
    stopFileWatch(watch);
    watch.folder = folderOfPath(path);
    watch.name = lastPathPart(path);
    std::wstring folder = wideName(watch.folder.c_str());
    if (folder.empty())
        return false;
    HANDLE handle = FindFirstChangeNotificationW(folder.c_str(), FALSE, WATCHED_CHANGES);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    watch.waitable = (WatchWaitable)handle;
    return true;
}

void stopFileWatch(FileWatch& watch)
{
    if (watch.waitable != NO_WAITABLE)
        FindCloseChangeNotification(handleOf(watch));
    watch.waitable = NO_WAITABLE;
    watch.watchId = -1;
}

bool fileWatchActive(const FileWatch& watch)
{
    return watch.waitable != NO_WAITABLE;
}

bool takeFileWatchNews(FileWatch& watch)
{
    if (!fileWatchActive(watch) || WaitForSingleObject(handleOf(watch), 0) != WAIT_OBJECT_0)
        return false;
    // The notification names no file: any change in the folder may be the
    // file's. Armed again for the next one; a folder that is gone ends it.
    if (!FindNextChangeNotification(handleOf(watch)))
        stopFileWatch(watch);
    return true;
}
