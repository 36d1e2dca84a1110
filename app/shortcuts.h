// The keyboard shortcuts: undo, redo, the tiled and lit views, saving and
// the help page. Each acts on key-down, so SDL's key repeat repeats it.
// While a page shows over the slot area, the loop closes it instead
// (app/loop.cpp).
#pragma once

#include <SDL.h>

// Runs the action of the shortcut the key and modifiers make, if any. True
// when the window may show something new; false when nothing ran or what ran
// changed nothing that is drawn.
bool runShortcut(SDLKey key, SDLMod modifiers);
