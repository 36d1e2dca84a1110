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

// Everything between opening the window and the main loop: the save file
// names, the control panel, the four slots with their start-up textures and
// a session over them, the caption and key repeat. With a recipe opened, its
// steps are replayed into the session and its saved slot becomes the target.
// False if a slot cannot be allocated.
bool setUpSession(const OpenedRecipe* opened = nullptr);

// Releases the session, and deletes the colour picker and the four slots.
void tearDownSession();

// Reports a start-up failure on stderr with SDL's reason, and exits.
[[noreturn]] void failStartUp(int exitStatus, const char* reason);
