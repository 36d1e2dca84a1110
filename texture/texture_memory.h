// Memory for large textures and their work buffers: zero-filled, taken from
// the system only as it is first written, and in large pages where the
// system has them.
#pragma once

#include <cstddef>

// `bytes` of memory, all 0, or null if it cannot be had.
void* allocateTextureMemory(size_t bytes);

// Gives back `bytes` from allocateTextureMemory (null does nothing).
void freeTextureMemory(void* memory, size_t bytes);

// A texture of `pixels` pixels of type P (a Pixel or a DeepPixel), all 0,
// or null if the memory cannot be had.
template <class P> P* allocateTexture(size_t pixels)
{
    return static_cast<P*>(allocateTextureMemory(pixels * sizeof(P)));
}

// Gives back a texture from allocateTexture (null does nothing).
template <class P> void freeTexture(P* texture, size_t pixels)
{
    freeTextureMemory(texture, pixels * sizeof(P));
}
