// The main loop: each pass polls every pending event, dispatches at most one
// mouse press to the widgets and the colour picker, and renders a frame when
// the window's picture may have changed. Between passes it sleeps until
// input arrives, unless a held press repeats.
#pragma once

#include <SDL.h>

struct LoopState {
    bool quitRequested = false;
    // The last press is dispatched again on every pass until a button is released.
    bool buttonHeld = false;
    // A press arrived during this pass's polling.
    bool newPress = false;
    // The most recent mouse-button-down event.
    SDL_Event lastPress {};
    // The pass must render: the window is new, was uncovered or activated, or
    // a handler changed what it shows. Any handler may set it.
    bool redrawNeeded = true;
    // The key that opened or closed a page over the slot area: its repeats
    // do nothing until it is released.
    SDLKey heldBackKey = SDLK_UNKNOWN;
};

// Updates the loop state for one event. While a page shows over the slot
// area, a key-down other than a modifier, or a press, only closes it.
// Otherwise Escape key-down and the window's close event request quitting;
// another key-down runs its shortcut, if it has one; a press is remembered;
// a press or any release ends the session's hold, and a release the loop's;
// exposure and activation ask for a redraw. A page that opens ends the hold.
void handleEvent(LoopState& state, const SDL_Event& event);

// Handles every pending event.
void pollEvents(LoopState& state);

// Passes the remembered press to the widgets and the colour picker if it is
// new or still held, and asks for a redraw. A left press is dispatched only
// once, and so is a press that opens a page (a failed save's message).
void dispatchPress(LoopState& state);

// One pass: poll, dispatch, and render if a redraw is needed.
void runPass(LoopState& state);

// Runs passes until quitting is requested: about 60 per second while a press
// is held, otherwise one whenever input arrives.
void runMainLoop();
