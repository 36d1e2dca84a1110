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

    // Makes a fixed label show its own copy of `text` from the next draw on.
    // If the copy cannot be had, the label keeps what it showed and false is
    // returned. A value label is left as it is.
    bool setText(const char* text);

    // Draws the text at (x, y); a value label formats its value first. A
    // fixed label without text draws nothing.
    void draw(Canvas canvas);

    int32_t x;
    int32_t y;
    Pixel color;
    // What is drawn: the borrowed string, or ownedText. Never written through,
    // so a borrowed string stays the caller's own.
    const char* text;
    // The label's own memory, freed with it: the copied text, or the buffer a
    // value label formats into. Null when the text is borrowed or absent.
    char* ownedText;
    bool isFixed;
    const int32_t* value;
};
