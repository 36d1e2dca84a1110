#include "texture/texture_memory.h"

#include <sys/mman.h>

// Each first touch of a page costs the system a fault and a page of zeros.
// With 4 KiB pages a 16384 texture takes 262,144 of them, which cost a large
// render more time than its operations; large pages take 512 times fewer.
void* allocateTextureMemory(size_t bytes)
{
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return nullptr;
#ifdef MADV_HUGEPAGE
    // Only a request: without large pages the memory works all the same.
    madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    return memory;
}

void freeTextureMemory(void* memory, size_t bytes)
{
    if (memory)
        munmap(memory, bytes);
}
