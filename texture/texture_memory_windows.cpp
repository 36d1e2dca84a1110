#include "texture/texture_memory.h"

#include <windows.h>

// Committed memory reads as zeros and takes no physical pages until written.
void* allocateTextureMemory(size_t bytes)
{
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void freeTextureMemory(void* memory, size_t)
{
    if (memory)
        VirtualFree(memory, 0, MEM_RELEASE);
}
