#include "io/file_watch.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

#include "io/file_system.h"

namespace {

// Every way a file's bytes or name can change: written in place and closed,
// created, renamed to or from the name, removed, its permissions changed;
// and the folder itself removed or renamed away, which ends the watch.
const uint32_t WATCHED_EVENTS = IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM
    | IN_DELETE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;

} // namespace

bool startFileWatch(FileWatch& watch, const char* path)
{
    stopFileWatch(watch);
    watch.folder = folderOfPath(path);
    watch.name = lastPathPart(path);
    int descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (descriptor < 0)
        return false;
    int id = inotify_add_watch(descriptor, watch.folder.c_str(), WATCHED_EVENTS | IN_ONLYDIR);
    if (id < 0) {
        close(descriptor);
        return false;
    }
    watch.waitable = descriptor;
    watch.watchId = id;
    return true;
}

void stopFileWatch(FileWatch& watch)
{
    if (watch.waitable != NO_WAITABLE)
        close((int)watch.waitable);
    watch.waitable = NO_WAITABLE;
    watch.watchId = -1;
}

bool fileWatchActive(const FileWatch& watch)
{
    return watch.waitable != NO_WAITABLE;
}

bool takeFileWatchNews(FileWatch& watch)
{
    if (!fileWatchActive(watch))
        return false;
    bool concernsFile = false;
    bool ended = false;
    // Room for at least one event with the longest name, aligned as inotify's records are.
    alignas(inotify_event) char buffer[64 * (sizeof(inotify_event) + NAME_MAX + 1)];
    for (;;) {
        ssize_t count = read((int)watch.waitable, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break; // EAGAIN: nothing more has arrived
        for (ssize_t at = 0; at < count;) {
            const inotify_event* event = (const inotify_event*)(buffer + at);
            at += (ssize_t)(sizeof(inotify_event) + event->len);
            // Too many events were dropped to know which files they concerned.
            if (event->mask & IN_Q_OVERFLOW)
                concernsFile = true;
            if (event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF))
                ended = true;
            if (event->len > 0 && watch.name == event->name)
                concernsFile = true;
        }
    }
    if (ended) {
        stopFileWatch(watch);
        return true;
    }
    return concernsFile;
}
