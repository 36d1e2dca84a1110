// The main loop: each pass polls every pending event, dispatches at most one
// mouse press to the widgets and the colour picker, and renders a frame.
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
};

// Updates the loop state for one event: Escape key-down and the window's
// close event request quitting; a press is remembered; any release ends a hold.
void handleEvent(LoopState& state, const SDL_Event& event);

// Handles every pending event.
void pollEvents(LoopState& state);

// Passes the remembered press to the widgets and the colour picker if it is
// new or still held. A left press is dispatched only once.
void dispatchPress(LoopState& state);

// One pass: poll, dispatch, render.
void runPass(LoopState& state);

// Runs passes until quitting is requested, about 60 per second.
void runMainLoop();
