#include "gui/button.h"

#include "gfx/font.h"
#include "gfx/primitives.h"
#include "gfx/text.h"

Button::Button(int32_t x, int32_t y, int32_t width, int32_t height, Pixel color,
    const char* caption, Pixel captionColor, Command onLeftClick, Command onClick)
    : x(x)
    , y(y)
    , width(width)
    , height(height)
    , color(color)
    , caption()
    , captionColor(captionColor)
    , onLeftClick(onLeftClick)
    , onClick(onClick)
{
    if (caption == nullptr)
        return;
    // The last byte always stays the terminating zero, so a longer caption is cut.
    for (int32_t i = 0; i < BUTTON_CAPTION_CAPACITY - 1 && caption[i] != 0; ++i)
        this->caption[i] = caption[i];
}

void Button::draw(Canvas canvas) const
{
    drawFilledPanel(canvas, x, y, width, height, color);
    drawText(canvas, x + 5, y + height / 2 - 4, font6x8, caption, captionColor);
}

void Button::click(int32_t px, int32_t py, bool leftClick) const
{
    if (px < x || px > x + width || py < y || py > y + height)
        return;
    Command command = leftClick && onLeftClick != nullptr ? onLeftClick : onClick;
    if (command != nullptr)
        command();
}
