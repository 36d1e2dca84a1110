// Quiltor: makes seamless 256x256 textures in one 800x600 window.

#include <SDL.h>
#include <cstdlib>

#include "app/loop.h"
#include "app/shell.h"

int main(int, char**)
{
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        failStartUp(EXIT_SDL_FAILED, SDL_GetError());
    atexit(SDL_Quit);
    // A window nobody can see would run unnoticed until killed.
    if (videoDriverShowsNothing())
        failStartUp(EXIT_SDL_FAILED, "No display: the video driver \"offscreen\" shows nothing");
    if (!openWindow())
        failStartUp(EXIT_WINDOW_FAILED, SDL_GetError());
    if (!setUpSession())
        failStartUp(EXIT_TEXTURE_FAILED, "not enough memory for the texture slots");
    runMainLoop();
    tearDownSession();
    return 0;
}
