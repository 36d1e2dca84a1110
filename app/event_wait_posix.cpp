#include "app/event_wait.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>

namespace {

// Without a connection to wait on, the loop pumps on this tick, as
// SDL_WaitEvent does.
const int NO_CONNECTION_TICK_MS = 10;

} // namespace

int findXConnection()
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display)
        return -1;
    return ConnectionNumber(info.info.x11.display);
}

void waitForInput(int xConnection, int timeoutMs)
{
    if (xConnection < 0) {
        SDL_Delay(NO_CONNECTION_TICK_MS);
        return;
    }
    pollfd connection { xConnection, POLLIN, 0 };
    poll(&connection, 1, timeoutMs);
}
