// A digest of a texture, for pinning results and comparing them briefly.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/canvas.h"

namespace testsupport {

// 64-bit FNV-1a over the pixels' bytes, lowest byte of each pixel first.
inline uint64_t digest(const Pixel* pixels, size_t count)
{
    uint64_t hash = 14695981039346656037ull;
    for (const Pixel* end = pixels + count; pixels < end; ++pixels) {
        for (int32_t shift = 0; shift < 32; shift += 8) {
            hash ^= (*pixels >> shift) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

inline uint64_t digest(const std::vector<Pixel>& pixels)
{
    return digest(pixels.data(), pixels.size());
}

} // namespace testsupport
