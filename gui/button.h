// A filled bevelled box with a one-line caption that runs a command when
// pressed.
#pragma once

#include "gfx/canvas.h"
#include "gui/command.h"

const int32_t BUTTON_CAPTION_CAPACITY = 256;

class Button {
public:
    // Copies the caption, truncated to 255 characters; a null caption shows no
    // text. Either command may be null.
    Button(int32_t x, int32_t y, int32_t width, int32_t height, Pixel color, const char* caption,
        Pixel captionColor, Command onLeftClick, Command onClick);

    // Draws the filled panel and the caption at (x + 5, y + height / 2 - 4).
    void draw(Canvas canvas) const;

    // Runs at most one command if (px, py) lies in the hit area, which is
    // inclusive on all four edges: one column wider and one row taller than the box.
    void click(int32_t px, int32_t py, bool leftClick) const;

    void setColor(Pixel newColor) { color = newColor; }

    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    Pixel color;
    char caption[BUTTON_CAPTION_CAPACITY];
    Pixel captionColor;
    Command onLeftClick;
    Command onClick;
};
