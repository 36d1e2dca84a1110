#include "gui/widget_list.h"

WidgetList::WidgetList()
    : buttonCount(0)
    , buttons()
    , labelCount(0)
    , labels()
{
}

WidgetList::~WidgetList()
{
    clear();
}

void WidgetList::addButton(Button* button)
{
    if (button == nullptr)
        return;
    if (buttonCount >= WIDGET_LIST_BUTTON_CAPACITY) {
        delete button;
        return;
    }
    buttons[buttonCount++] = button;
}

void WidgetList::addLabel(Label* label)
{
    if (label == nullptr)
        return;
    if (labelCount >= WIDGET_LIST_LABEL_CAPACITY) {
        delete label;
        return;
    }
    labels[labelCount++] = label;
}

void WidgetList::draw(Canvas canvas)
{
    for (int32_t i = 0; i < buttonCount; ++i)
        buttons[i]->draw(canvas);
    for (int32_t i = 0; i < labelCount; ++i)
        labels[i]->draw(canvas);
}

void WidgetList::click(int32_t px, int32_t py, bool leftClick)
{
    // Every hit button runs, not just the first, so a command sees the effects
    // of the commands before it.
    for (int32_t i = 0; i < buttonCount; ++i)
        buttons[i]->click(px, py, leftClick);
}

void WidgetList::clear()
{
    for (int32_t i = buttonCount - 1; i >= 0; --i) {
        delete buttons[i];
        buttons[i] = nullptr;
    }
    buttonCount = 0;
    for (int32_t i = labelCount - 1; i >= 0; --i) {
        delete labels[i];
        labels[i] = nullptr;
    }
    labelCount = 0;
}
