// Memory for the renderer's textures: zero-filled, taken from the system
// only as it is first written, and in large pages where the system has them.
#pragma once

#include <cstddef>

#include "gfx/canvas.h"

// A texture of `pixels` pixels, all 0, or null if the memory cannot be had.
Pixel* allocateTexture(size_t pixels);

// Gives back a texture from allocateTexture (null does nothing).
void freeTexture(Pixel* texture, size_t pixels);
