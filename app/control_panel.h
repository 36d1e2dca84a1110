// The control panel: every button and label right of the slots, and "Save".
#pragma once

// Creates every button and label of the panel in `widgets`, in layout order,
// and the colour picker in `colorPicker`. Called once, after saveFileName is
// formatted: the label beside "Save" shows it.
void buildControlPanel();

// Shows saveFileName in the label beside "Save"; a name too long for the
// space up to the window's right edge shows its end after "...".
void showSaveFileName();
