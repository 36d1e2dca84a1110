#include "render/texture_memory.h"

#include <windows.h>

// Committed memory reads as zeros and takes no physical pages until written.
Pixel* allocateTexture(size_t pixels)
{
    return (Pixel*)VirtualAlloc(
        nullptr, pixels * sizeof(Pixel), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void freeTexture(Pixel* texture, size_t)
{
    if (texture)
        VirtualFree(texture, 0, MEM_RELEASE);
}
