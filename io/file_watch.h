// Being told when a file may have changed, without looking at it over and
// over. The watch is on the file's folder, filtered by the file's name: an
// editor that saves to a temporary file and renames it over the original,
// or removes the file and writes it anew, replaces the file itself, and a
// watch on the file would be lost at its first save. Each system has a file
// of its own: file_watch_posix.cpp and file_watch_windows.cpp.
#pragma once

#include <cstdint>
#include <string>

// What a wait can wait on for a watch's news: a file descriptor for poll()
// where the system has them, a handle for WaitForMultipleObjects on Windows.
typedef intptr_t WatchWaitable;
const WatchWaitable NO_WAITABLE = -1;

struct FileWatch {
    std::string folder; // the folder whose changes are watched
    std::string name; // the file's own name in it
    WatchWaitable waitable = NO_WAITABLE; // NO_WAITABLE while nothing is watched
    int32_t watchId = -1; // the system's number for the folder's watch, where it has one
};

// Starts watching the file `path` through its folder; any watch the record
// held is stopped first. False when the system gives no notification for
// that folder (it is missing, or the system has no such service): the
// caller then looks at the file now and then instead.
bool startFileWatch(FileWatch& watch, const char* path);

// Stops the watch; safe on a record that watches nothing.
void stopFileWatch(FileWatch& watch);

// Whether the watch is working.
bool fileWatchActive(const FileWatch& watch);

// Takes every notification that has arrived, without waiting. True when one
// may concern the file: where the system names the changed file, one for
// the file's name; where it does not, any change in the folder. A watch the
// system ended (its folder was removed or renamed) is stopped, and the
// answer is then true, since the file may be gone with it.
bool takeFileWatchNews(FileWatch& watch);
