// How much memory the system could still give this process.
#pragma once

#include <cstdint>

// Memory the system could give without stopping: available memory plus
// free swap on Linux, free physical memory on Windows, in bytes; 0 if the
// system does not say. Each system has a file of its own.
uint64_t availableMemoryBytes();
