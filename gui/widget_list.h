// The list that owns every button and label, draws them and passes presses
// to the buttons.
#pragma once

#include "gfx/canvas.h"
#include "gui/button.h"
#include "gui/label.h"

const int32_t WIDGET_LIST_BUTTON_CAPACITY = 100;
const int32_t WIDGET_LIST_LABEL_CAPACITY = 101;

class WidgetList {
public:
    WidgetList();
    ~WidgetList();

    WidgetList(const WidgetList&) = delete;
    WidgetList& operator=(const WidgetList&) = delete;

    // Takes ownership. A button beyond the capacity is deleted at once.
    void addButton(Button* button);

    // Takes ownership. A label beyond the capacity is deleted at once.
    void addLabel(Label* label);

    // Draws every button, then every label, each in insertion order.
    void draw(Canvas canvas);

    // Passes the press to every button in insertion order; all that are hit run.
    void click(int32_t px, int32_t py, bool leftClick);

    // Deletes the buttons last to first, then the labels last to first.
    void clear();

    int32_t buttonCount;
    Button* buttons[WIDGET_LIST_BUTTON_CAPACITY];
    int32_t labelCount;
    Label* labels[WIDGET_LIST_LABEL_CAPACITY];
};
