#include "app/event_wait.h"

#include <SDL.h>

namespace {

// SDL 1.2 makes the repeats of a held key from the clock inside its event
// pump, so the pump must run about this often while a key is down.
const int KEY_REPEAT_PUMP_MS = 10;
// An idle wake now and then, for any work SDL leaves to a later pump.
const int IDLE_TIMEOUT_MS = 500;

// Pumps SDL's events and tells whether any is queued, leaving it there.
bool eventQueued()
{
    SDL_PumpEvents();
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0;
}

// Whether a key that repeats is down. The lock keys count as down while
// their light is on, and the modifiers do not repeat, so neither counts.
bool repeatingKeyDown()
{
    int keyCount = 0;
    const Uint8* keys = SDL_GetKeyState(&keyCount);
    for (int key = 0; key < keyCount; ++key) {
        bool modifierOrLock = key >= SDLK_NUMLOCK && key <= SDLK_COMPOSE;
        if (!modifierOrLock && keys[key])
            return true;
    }
    return false;
}

} // namespace

void waitForEvents(int xConnection, WatchWaitable watch, int latestMs)
{
    // The pump also reads what the system already buffered, for instance
    // while the last frame was shown, so the wait below cannot sleep on
    // queued input.
    if (eventQueued())
        return;
    int timeoutMs = repeatingKeyDown() ? KEY_REPEAT_PUMP_MS : IDLE_TIMEOUT_MS;
    if (latestMs >= 0 && latestMs < timeoutMs)
        timeoutMs = latestMs;
    waitForInput(xConnection, watch, timeoutMs);
}
