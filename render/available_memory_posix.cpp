#include "render/available_memory.h"

#include <cstdio>
#include <cstring>

uint64_t availableMemoryBytes()
{
    FILE* file = fopen("/proc/meminfo", "r");
    if (!file)
        return 0;
    uint64_t available = 0, swap = 0;
    bool known = false;
    char line[256];
    while (fgets(line, sizeof line, file)) {
        unsigned long long kib = 0;
        if (sscanf(line, "MemAvailable: %llu kB", &kib) == 1) {
            available = kib * 1024;
            known = true;
        } else if (sscanf(line, "SwapFree: %llu kB", &kib) == 1) {
            swap = kib * 1024;
        }
    }
    fclose(file);
    return known ? available + swap : 0;
}
