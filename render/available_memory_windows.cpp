#include "render/available_memory.h"

#include <windows.h>

uint64_t availableMemoryBytes()
{
    // The physical memory free now; what the page file could add would be
    // had only by pushing other programs out.
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return 0;
    return status.ullAvailPhys;
}
