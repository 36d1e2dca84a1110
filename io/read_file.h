// Reading a whole input into memory, bounded: a file, or standard input.
#pragma once

#include <cstddef>
#include <string>

enum ReadResult {
    READ_DONE,
    READ_FAILED, // `error` holds the system's reason
    READ_TOO_LARGE, // the input has more than the limit's bytes; the rest was not read
};

// Reads the whole of the file `path` (standard input when `path` is null)
// into `contents`, but never more than `limit` bytes: a larger input, or an
// endless one, is refused after limit + 1 bytes. On READ_FAILED `error` is
// the errno, e.g. ENOENT for a missing file or EISDIR for a directory.
ReadResult readWholeFile(const char* path, size_t limit, std::string* contents, int* error);
