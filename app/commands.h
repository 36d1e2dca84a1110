// What the control panel's buttons do. Each command acts on the target slot
// (and reads the source slot) at the moment it runs; each operation is a
// step of the session, so it can be undone and is recorded. "Save" is in
// app/saving.h.
#pragma once

#include <cstdint>

#include "gui/button.h"

// Faces of the slot buttons: the selected one of each group is green.
const Pixel SELECTED_BUTTON_COLOR = 0x80FF80;
const Pixel BUTTON_COLOR = 0x8080FF;
// The panel's titles over each group of buttons.
const Pixel TITLE_COLOR = 0xFF8080;

// The slot buttons "1".."4" under "Target" and under "Source", in slot order.
// Owned by the widget list.
extern Button* targetButtons[4];
extern Button* sourceButtons[4];

// Colours the selected button of a group green and the other three blue.
void markSelection(Button* buttons[4], int32_t selected);

void selectTarget1();
void selectTarget2();
void selectTarget3();
void selectTarget4();
void selectSource1();
void selectSource2();
void selectSource3();
void selectSource4();

// "Create base texture"
void runCells();
void runPlasma();
void runPong();
void runSine();

// "Combine two textures"
void runAdd();
void runSub();
void runMix();
void runCopy();
void runMax();

// "Change colors"
void editColor1();
void editColor2();
void runColorize();
void runInvert();
void runClear();

// "Deform"
void runMove();
void runDeform();
void runTwirl();
