#include "gui/label.h"

#include "gfx/font.h"
#include "gfx/text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A malloc'ed copy of the text, or null.
char* copyText(const char* text)
{
    size_t size = std::strlen(text) + 1;
    char* copy = (char*)std::malloc(size);
    if (copy != nullptr)
        std::memcpy(copy, text, size);
    return copy;
}

} // namespace

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
    ownedText = copyText(text);
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

bool Label::setText(const char* newText)
{
    if (!isFixed || newText == nullptr)
        return false;
    char* copy = copyText(newText);
    if (copy == nullptr)
        return false;
    std::free(ownedText);
    ownedText = copy;
    text = ownedText;
    return true;
}

void Label::draw(Canvas canvas)
{
    if (text == nullptr)
        return;
    if (!isFixed)
        std::snprintf(ownedText, LABEL_BUFFER_SIZE, "%d", (int)*value);
    drawText(canvas, x, y, font6x8, text, color);
}
