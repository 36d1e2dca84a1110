// A line of text at a fixed position: a fixed text, or the live decimal value
// of an integer variable.
#pragma once

#include "gfx/canvas.h"

const int32_t LABEL_BUFFER_SIZE = 256;

class Label {
public:
    // A fixed label. With `copy` the label keeps its own copy of the text;
    // without, it borrows the caller's string and shows it as it is at each draw.
    Label(int32_t x, int32_t y, Pixel color, const char* text, bool copy);

    // A value label: shows *value formatted with "%d", anew at every draw.
    Label(int32_t x, int32_t y, Pixel color, const int32_t* value);

    ~Label();

    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;

    // Draws the text at (x, y); a fixed label without text draws nothing.
    void draw(Canvas canvas);

    int32_t x;
    int32_t y;
    Pixel color;
    char* text;
    bool ownsText;
    bool isFixed;
    const int32_t* value;
};
