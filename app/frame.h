// Drawing one complete frame of the window.
#pragma once

#include "gfx/canvas.h"

const int32_t WINDOW_WIDTH = 800;
const int32_t WINDOW_HEIGHT = 600;
const Pixel BACKGROUND_COLOR = 0x404040;
const Pixel SLOT_FRAME_COLOR = 0x808080;

// Slot i's frame sits in grid column i mod 2 and row i div 2, 263 pixels
// apart, a pixel in from the window's corner; the four frames together make
// the slot area, which the tiled and lit views and the overlay cover.
const int32_t SLOT_SPACING = 263;
const int32_t SLOT_FRAME_SIZE = 262;
const int32_t SLOT_AREA_ORIGIN = 1;
const int32_t SLOT_AREA_SIZE = SLOT_SPACING + SLOT_FRAME_SIZE;

// Draws the slot frames with their textures (or the tiled or lit view of
// the target), the page over them if one shows, the widgets, the colour
// swatches and the colour picker onto a canvas that covers the window.
void drawScreen(Canvas canvas);

// Clears the window to the background, draws the screen and shows it. Skips
// the frame when the window surface cannot be locked.
void renderFrame();
