// The application's global state, read and written by the shell and the
// control panel's commands.
#pragma once

#include "gui/color_picker.h"
#include "gui/widget_list.h"
#include "session/step.h"
#include "texture/texture.h"

struct SDL_Surface;

const int32_t SAVE_FILE_NAME_SIZE = 256;

// The four texture slots: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
extern Texture* slots[SLOT_COUNT];

// Fills `pixels` with the four slots' pixel arrays, in slot order.
void getSlotPixels(Pixel* pixels[SLOT_COUNT]);

// The window surface, owned by SDL.
extern SDL_Surface* screen;

// The slot that operations write and Save exports, and the second input of the combiners.
extern int32_t targetSlot;
extern int32_t sourceSlot;

// Formatted into the save file name; never advanced, so every save replaces one file.
extern int32_t saveCounter;
extern char saveFileName[SAVE_FILE_NAME_SIZE];

// The one colour picker, created with the control panel.
extern ColorPicker* colorPicker;

// Every button and label. Built before main runs and destroyed at exit, after SDL_Quit.
extern WidgetList widgets;
