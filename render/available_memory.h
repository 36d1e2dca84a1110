// How much memory the system could still give this process.
#pragma once

#include <cstdint>

// Memory available without swapping out other programs, plus free swap, in
// bytes; 0 if the system does not say.
uint64_t availableMemoryBytes();
