// Quiltor: makes seamless 256x256 textures in one 800x600 window.

#include <SDL.h>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/loop.h"
#include "app/shell.h"
#include "io/file_system.h"

int main(int argc, char** argv)
{
    // A recipe is read before SDL starts: one that cannot be used opens no window.
    OpenedRecipe opened;
    // File names are UTF-8 inside the program, whatever the system passed.
    const std::vector<std::string> arguments = commandLineArguments(argc, argv);
    std::vector<const char*> pointers;
    pointers.reserve(arguments.size());
    for (const std::string& argument : arguments)
        pointers.push_back(argument.c_str());
    int status = readCommandLine((int)pointers.size(), pointers.data(), opened);
    if (status != GO_ON)
        return status;
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        failStartUp(EXIT_SDL_FAILED, SDL_GetError());
    atexit(SDL_Quit);
    // A window nobody can see would run unnoticed until killed.
    if (videoDriverShowsNothing())
        failStartUp(EXIT_SDL_FAILED, "No display: the video driver \"offscreen\" shows nothing");
    if (!openWindow())
        failStartUp(EXIT_WINDOW_FAILED, SDL_GetError());
    SetUpResult setUp = setUpSession(opened.given ? &opened : nullptr);
    if (setUp == SESSION_NO_MEMORY)
        failStartUp(EXIT_TEXTURE_FAILED, "not enough memory for the texture slots");
    opened = OpenedRecipe(); // the session holds its lines now
    // Quitting during the replay leaves at once, as quitting later does.
    if (setUp == SESSION_READY)
        runMainLoop();
    tearDownSession();
    return 0;
}
