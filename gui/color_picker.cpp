#include "gui/color_picker.h"

#include "gfx/primitives.h"

namespace {

const int32_t RAMP_OFFSET = 5; // from the picker's left edge to the ramp's column 0
const int32_t BAR_LENGTH = 5;
const int32_t MARKER_LENGTH = 9;
const int32_t BAND_HEIGHT = 10; // rows of one channel's press band

// Keeps a marker inside its ramp even if a component was set out of range
// elsewhere; the picker itself only stores 0..255.
int32_t markerOffset(int32_t component)
{
    return component < 0 ? 0 : component > 255 ? 255 : component;
}

// The parts are added, as in composeColor, but in unsigned arithmetic so that
// an out-of-range component gives some colour rather than undefined behaviour.
Pixel rampColor(int32_t red, int32_t green, int32_t blue)
{
    return ((Pixel)red << 16) + ((Pixel)green << 8) + (Pixel)blue;
}

} // namespace

ColorPicker::ColorPicker(int32_t x, int32_t y, int32_t* red, int32_t* green, int32_t* blue)
    : red(red)
    , green(green)
    , blue(blue)
    , x(x)
    , y(y)
{
}

void ColorPicker::bind(int32_t* newRed, int32_t* newGreen, int32_t* newBlue)
{
    red = newRed;
    green = newGreen;
    blue = newBlue;
}

void ColorPicker::draw(Canvas canvas) const
{
    fillRect(canvas, x, y, COLOR_PICKER_WIDTH, COLOR_PICKER_HEIGHT, 0x000000);
    fillRect(canvas, x + 2, y + 5, 262, BAR_LENGTH, 0xFF0000);
    fillRect(canvas, x + 2, y + 15, 262, BAR_LENGTH, 0x00FF00);
    fillRect(canvas, x + 2, y + 25, 262, BAR_LENGTH, 0x0000FF);

    for (int32_t i = 0; i < 256; ++i) {
        int32_t column = x + RAMP_OFFSET + i;
        drawVLine(canvas, column, y + 5, BAR_LENGTH, rampColor(i, *green, *blue));
        drawVLine(canvas, column, y + 15, BAR_LENGTH, rampColor(*red, i, *blue));
        drawVLine(canvas, column, y + 25, BAR_LENGTH, rampColor(*red, *green, i));
    }

    int32_t rampLeft = x + RAMP_OFFSET;
    drawVLine(canvas, rampLeft + markerOffset(*red), y + 3, MARKER_LENGTH, 0xFFFFFF);
    drawVLine(canvas, rampLeft + markerOffset(*green), y + 13, MARKER_LENGTH, 0xFFFFFF);
    drawVLine(canvas, rampLeft + markerOffset(*blue), y + 23, MARKER_LENGTH, 0xFFFFFF);
}

void ColorPicker::click(int32_t px, int32_t py, bool /*leftClick*/)
{
    int32_t dx = px - (x + RAMP_OFFSET);
    int32_t dy = py - (y + 3);
    if (dx < 0 || dx > 255 || dy < 0 || dy > 30)
        return;
    // dy = 30 gives row 3, which belongs to no channel.
    int32_t row = dy / BAND_HEIGHT;
    if (row == 0)
        *red = dx;
    else if (row == 1)
        *green = dx;
    else if (row == 2)
        *blue = dx;
}
