// Start-up and shutdown of the application around the main loop.
#pragma once

#include "app/command_line.h"

// Exit statuses of the start-up failures.
const int EXIT_SDL_FAILED = 1;
const int EXIT_WINDOW_FAILED = 2;
const int EXIT_TEXTURE_FAILED = 3;

// Whether SDL's video driver shows its windows to nobody: SDL 2's "offscreen"
// driver, which SDL 1.2 over SDL 2 falls back to when there is no display.
bool videoDriverShowsNothing();

// Opens the 800x600x32 window into `screen`; false if SDL cannot.
bool openWindow();

// What setUpSession came to.
enum SetUpResult {
    SESSION_READY,
    SESSION_NO_MEMORY, // a slot could not be allocated
    SESSION_QUIT, // the user quit while the recipe was replayed
};

// Everything between opening the window and the main loop: the caption, the
// save file names, the control panel, the four slots with their start-up
// textures and a session over them, and key repeat. With a recipe opened,
// its saved slot becomes the target and its steps are replayed into the
// session; with the window open, a long replay shows its progress there
// and can be quit.
SetUpResult setUpSession(const OpenedRecipe* opened = nullptr);

// Releases the session, and deletes the colour picker and the four slots.
void tearDownSession();

// Reports a start-up failure on stderr with SDL's reason, and exits.
[[noreturn]] void failStartUp(int exitStatus, const char* reason);
