// Test helper: 64-bit FNV-1a digests that pin pictures bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/canvas.h"

namespace testsupport {

const uint64_t FNV_OFFSET_BASIS = 14695981039346656037ull;

// Adds `count` pixels to a running FNV-1a 64 digest, all four bytes of each
// pixel, lowest byte first.
inline uint64_t digestPixels(const Pixel* pixels, size_t count, uint64_t hash = FNV_OFFSET_BASIS)
{
    for (const Pixel* end = pixels + count; pixels < end; ++pixels) {
        for (int32_t shift = 0; shift < 32; shift += 8) {
            hash ^= (*pixels >> shift) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

// The digest of a whole texture or any other run of pixels.
inline uint64_t digest(const std::vector<Pixel>& pixels)
{
    return digestPixels(pixels.data(), pixels.size());
}

// The digest of what a canvas shows: its rows in order, only the low 24 bits
// of each pixel (the top byte is never shown), so the pitch does not matter.
inline uint64_t digestShown(Canvas canvas)
{
    uint64_t hash = FNV_OFFSET_BASIS;
    for (int32_t y = 0; y < canvas.height; ++y) {
        const Pixel* row = canvas.pixels + (size_t)y * canvas.pitch;
        for (int32_t x = 0; x < canvas.width; ++x) {
            Pixel shown = row[x] & 0xFFFFFF;
            hash = digestPixels(&shown, 1, hash);
        }
    }
    return hash;
}

} // namespace testsupport
