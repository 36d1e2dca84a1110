#include "app/loop.h"

#include "app/event_wait.h"
#include "app/followed_recipe.h"
#include "app/frame.h"
#include "app/overlay.h"
#include "app/shortcuts.h"
#include "app/state.h"

namespace {

// SDL_Flip does not wait for the display here, so the loop paces itself.
const double PASS_PERIOD_MS = 1000.0 / 60.0;

// Waits out the rest of this pass's 1/60 s; a slow pass starts the next at once.
void paceHeldPass(double& nextPassAt)
{
    nextPassAt += PASS_PERIOD_MS;
    double now = SDL_GetTicks();
    if (now < nextPassAt)
        SDL_Delay((Uint32)(nextPassAt - now));
    else
        nextPassAt = now;
}

// Shift, Ctrl and the like are held for the next key: alone, they close no page.
bool isModifierKey(SDLKey key)
{
    return key >= SDLK_NUMLOCK && key <= SDLK_COMPOSE;
}

// A key-down: closes a page if one shows, else quits on Escape or runs the
// key's shortcut; a page the shortcut opened stops a held press.
void handleKeyDown(LoopState& state, SDLKey key, SDLMod modifiers)
{
    if (isModifierKey(key) || (key == state.heldBackKey && key != SDLK_UNKNOWN))
        return;
    if (overlayShown()) {
        // A message may offer keys that act at once; any other key closes it.
        const Key* offered = findShortcut(key, modifiers);
        bool acts = offered && overlayOffersKey(offered->action);
        closeOverlay();
        state.heldBackKey = key;
        state.redrawNeeded = true;
        if (!acts)
            return;
        offered->action();
        if (overlayShown())
            state.buttonHeld = false;
        return;
    }
    if (key == SDLK_ESCAPE) {
        state.quitRequested = true;
        return;
    }
    bool changed = runShortcut(key, modifiers);
    if (overlayShown()) {
        // Help, or a failed save's message: nothing goes on behind it.
        state.heldBackKey = key;
        state.buttonHeld = false;
    }
    if (changed || overlayShown())
        state.redrawNeeded = true;
}

// The followed recipe file's news, after the presses: a press in this pass
// is a step that a change on disk must not replay away.
void followRecipe(LoopState& state)
{
    if (checkFollowedRecipe(SDL_GetTicks()) == FOLLOW_NOTHING)
        return;
    state.redrawNeeded = true;
    if (overlayShown())
        state.buttonHeld = false;
}

} // namespace

void handleEvent(LoopState& state, const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
        handleKeyDown(state, event.key.keysym.sym, event.key.keysym.mod);
        break;
    case SDL_KEYUP:
        if (event.key.keysym.sym == state.heldBackKey)
            state.heldBackKey = SDLK_UNKNOWN;
        break;
    // A step lasts from its press to the release: whatever the new press
    // does starts a new step.
    case SDL_MOUSEBUTTONDOWN:
        if (overlayShown()) {
            closeOverlay();
            state.redrawNeeded = true;
            break;
        }
        state.lastPress = event;
        state.buttonHeld = true;
        state.newPress = true;
        endHold(session);
        break;
    case SDL_MOUSEBUTTONUP:
        state.buttonHeld = false;
        endHold(session);
        break;
    case SDL_QUIT:
        state.quitRequested = true;
        break;
    // Where SDL does not keep the window's pixels itself, an uncovered
    // window shows nothing right until it is drawn again.
    case SDL_VIDEOEXPOSE:
    case SDL_ACTIVEEVENT:
        state.redrawNeeded = true;
        break;
    default:
        break;
    }
}

void pollEvents(LoopState& state)
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        handleEvent(state, event);
}

void dispatchPress(LoopState& state)
{
    if (!state.buttonHeld && !state.newPress)
        return;
    bool leftClick = state.lastPress.button.button == SDL_BUTTON_LEFT;
    if (leftClick)
        state.buttonHeld = false;
    int32_t x = state.lastPress.button.x;
    int32_t y = state.lastPress.button.y;
    widgets.click(x, y, leftClick);
    if (colorPicker)
        colorPicker->click(x, y, leftClick);
    // A press held on Save must not go on saving behind its failure's message.
    if (overlayShown())
        state.buttonHeld = false;
    state.redrawNeeded = true;
}

void runPass(LoopState& state)
{
    pollEvents(state);
    dispatchPress(state);
    state.newPress = false;
    followRecipe(state);
    if (state.redrawNeeded) {
        renderFrame();
        state.redrawNeeded = false;
    }
}

void runMainLoop()
{
    LoopState state;
    int xConnection = findXConnection();
    double nextPassAt = SDL_GetTicks();
    while (!state.quitRequested) {
        runPass(state);
        if (state.quitRequested)
            break;
        if (state.buttonHeld) {
            paceHeldPass(nextPassAt);
        } else {
            // Nothing repeats, so nothing changes until input or the
            // followed file's news arrives, or the follower's work is due.
            waitForEvents(xConnection, followedFileWaitable(), followedFileDueInMs(SDL_GetTicks()));
            nextPassAt = SDL_GetTicks();
        }
    }
}
