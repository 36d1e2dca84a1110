#include "gui/label.h"

#include "gfx/font.h"
#include "gfx/text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

Label::Label(int32_t x, int32_t y, Pixel color, const char* text, bool copy)
    : x(x)
    , y(y)
    , color(color)
    , text(text)
    , ownedText(nullptr)
    , isFixed(true)
    , value(nullptr)
{
    if (text == nullptr || !copy)
        return;
    size_t size = std::strlen(text) + 1;
    ownedText = (char*)std::malloc(size);
    if (ownedText != nullptr)
        std::memcpy(ownedText, text, size);
    this->text = ownedText;
}

Label::Label(int32_t x, int32_t y, Pixel color, const int32_t* value)
    : x(x)
    , y(y)
    , color(color)
    , text(nullptr)
    , ownedText(nullptr)
    , isFixed(false)
    , value(value)
{
    // Without a variable there is nothing to show: no buffer, so nothing is drawn.
    if (value != nullptr)
        ownedText = (char*)std::malloc(LABEL_BUFFER_SIZE);
    text = ownedText;
}

Label::~Label()
{
    std::free(ownedText);
}

void Label::draw(Canvas canvas)
{
    if (text == nullptr)
        return;
    if (!isFixed)
        std::snprintf(ownedText, LABEL_BUFFER_SIZE, "%d", (int)*value);
    drawText(canvas, x, y, font6x8, text, color);
}
