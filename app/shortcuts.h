// The keyboard shortcuts: undo, redo, the tiled and lit views, saving and
// the help page. Each acts on key-down, so SDL's key repeat repeats it.
// While a page shows over the slot area, the loop closes it instead
// (app/loop.cpp).
#pragma once

#include <SDL.h>
#include <cstdint>

// The modifiers a press names. Alt, Meta and AltGr all count as KEY_OTHER,
// which no key takes, so the window manager's combinations and typed
// characters stay unclaimed; the lock keys do not count at all.
enum KeyModifiers { KEY_PLAIN = 0, KEY_CTRL = 1, KEY_SHIFT = 2, KEY_OTHER = 4 };

// A key and exactly these modifiers; letters arrive lower-case, with Shift
// among the modifiers.
struct KeyPress {
    SDLKey key;
    int modifiers;
};

// An action returns whether the window may show something new.
typedef bool (*KeyAction)();

// One key of the window: the help page, --help, the README and the manual
// pages list these, and the presses run the action.
struct Key {
    const char* name; // as the help page lists it: "Ctrl+Shift+S"
    const char* text; // what it does, in at most 56 characters
    const char* shownAs; // every press, as the README and the manuals name it
    KeyPress presses[2]; // the unused one is SDLK_UNKNOWN
    KeyAction action; // null for Escape, which the loop handles
};

extern const Key KEYS[];
extern const int32_t KEY_COUNT;

// The key of the table that the key and modifiers press, or null.
const Key* findShortcut(SDLKey key, SDLMod modifiers);

// Runs the action of the shortcut the key and modifiers make, if any. True
// when the window may show something new; false when nothing ran or what ran
// changed nothing that is drawn.
bool runShortcut(SDLKey key, SDLMod modifiers);
