// The control panel: its parameters, the two ramp colours, and the buttons
// and labels that edit them and run the texture operations.
#pragma once

#include <cstdint>

// The two ramp colours, each component 0..255, edited through the colour picker.
extern int32_t color1Red, color1Green, color1Blue;
extern int32_t color2Red, color2Green, color2Blue;

// Which colour the picker edits: 1 or 2.
extern int32_t editedColor;

// Creates every button and label of the panel in `widgets` and the colour
// picker in `colorPicker`. Called once, after saveFileName is formatted.
void buildControlPanel();
