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

void waitForInput(int xConnection, WatchWaitable watch, int timeoutMs)
{
    pollfd sources[2];
    nfds_t count = 0;
    if (xConnection >= 0)
        sources[count++] = pollfd { xConnection, POLLIN, 0 };
    else if (timeoutMs > NO_CONNECTION_TICK_MS)
        timeoutMs = NO_CONNECTION_TICK_MS;
    if (watch != NO_WAITABLE)
        sources[count++] = pollfd { (int)watch, POLLIN, 0 };
    if (count == 0)
        SDL_Delay((Uint32)timeoutMs);
    else
        poll(sources, count, timeoutMs);
}
