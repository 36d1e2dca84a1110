#include "io/read_file.h"

#include <cerrno>
#include <unistd.h>

#include "io/file_system.h"

namespace {

// Reads from `descriptor` until its end or until more than `limit` bytes came.
ReadResult readAll(int descriptor, size_t limit, std::string* contents, int* error)
{
    char chunk[65536];
    for (;;) {
        ssize_t count = read(descriptor, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            *error = errno;
            return READ_FAILED;
        }
        if (count == 0)
            return READ_DONE;
        // Only a prefix of the chunk is kept past the limit: one byte over is
        // enough to know.
        size_t room = limit + 1 - contents->size();
        contents->append(chunk, (size_t)count < room ? (size_t)count : room);
        if (contents->size() > limit)
            return READ_TOO_LARGE;
    }
}

} // namespace

ReadResult readWholeFile(const char* path, size_t limit, std::string* contents, int* error)
{
    contents->clear();
    *error = 0;
    if (!path)
        return readAll(standardInputForReading(), limit, contents, error);
    int descriptor = openForReading(path, error);
    if (descriptor < 0)
        return READ_FAILED;
    ReadResult result = readAll(descriptor, limit, contents, error);
    close(descriptor);
    return result;
}
