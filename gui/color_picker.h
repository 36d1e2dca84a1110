// Edits one colour as three components through three bars of 256-step ramps.
// The picker does not own the colour: it points at three integers.
#pragma once

#include "gfx/canvas.h"

const int32_t COLOR_PICKER_WIDTH = 266;
const int32_t COLOR_PICKER_HEIGHT = 35;

class ColorPicker {
public:
    ColorPicker(int32_t x, int32_t y, int32_t* red, int32_t* green, int32_t* blue);

    // Points the picker at another colour's three components.
    void bind(int32_t* newRed, int32_t* newGreen, int32_t* newBlue);

    // Draws the black box, the three ramps read live from the components, and
    // a white marker at each component's value.
    void draw(Canvas canvas) const;

    // Sets the component whose band holds (px, py) to the value under the
    // pointer. Any mouse button does this, so leftClick is ignored.
    void click(int32_t px, int32_t py, bool leftClick);

    int32_t* red;
    int32_t* green;
    int32_t* blue;
    int32_t x;
    int32_t y;
};
