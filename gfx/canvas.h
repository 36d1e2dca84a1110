// The view of a 32-bit pixel buffer that every drawing operation writes into.
#pragma once

#include <cstdint>

// A colour 0x00RRGGBB: blue in bits 0-7, green in 8-15, red in 16-23.
typedef uint32_t Pixel;

// Composes a colour from three components in 0..255; the parts are added.
// Unsigned arithmetic keeps it defined for any value, wrapping modulo 2^32.
inline Pixel composeColor(int32_t red, int32_t green, int32_t blue)
{
    return ((Pixel)red << 16) + ((Pixel)green << 8) + (Pixel)blue;
}

// A window-sized buffer that the canvas does not own. Pixel (x, y) is
// pixels[y * pitch + x]; pitch is counted in pixels, not bytes.
struct Canvas {
    Pixel* pixels;
    int32_t width;
    int32_t height;
    int32_t pitch;
};
