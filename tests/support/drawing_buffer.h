// Test helper: a pixel buffer filled with a known background and a canvas
// over it, with a pitch wider than the width so row stepping is exercised.
#pragma once

#include "gfx/canvas.h"

#include <cstddef>
#include <vector>

namespace testsupport {

const Pixel BACKGROUND = 0x123456;

struct DrawingBuffer {
    std::vector<Pixel> buffer;
    Canvas canvas;
    DrawingBuffer(int32_t width, int32_t height)
        : buffer((size_t)(width + 8) * height, BACKGROUND)
        , canvas { buffer.data(), width, height, width + 8 }
    {
    }
    Pixel at(int32_t x, int32_t y) const { return buffer[(size_t)y * canvas.pitch + x]; }
    bool columnTouched(int32_t x) const
    {
        for (int32_t y = 0; y < canvas.height; ++y)
            if (at(x, y) != BACKGROUND)
                return true;
        return false;
    }
    // Whether any pixel of the rectangle differs from the background.
    bool touched(int32_t x, int32_t y, int32_t width, int32_t height) const
    {
        for (int32_t row = y; row < y + height; ++row)
            for (int32_t column = x; column < x + width; ++column)
                if (at(column, row) != BACKGROUND)
                    return true;
        return false;
    }
};

} // namespace testsupport
