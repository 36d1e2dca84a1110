#include "app/replay_progress.h"

#include <SDL.h>
#include <cstdio>

#include "app/commands.h"
#include "app/control_panel.h"
#include "app/frame.h"
#include "app/overlay.h"
#include "app/saving.h"
#include "app/state.h"
#include "session/replay.h"
#include "session/replay_work.h"

namespace {

// Input is read this often, so Escape acts within a frame's time.
const Uint32 POLL_PERIOD_MS = 15;
// The progress is redrawn this often while it shows.
const Uint32 DRAW_PERIOD_MS = 100;

struct ReplayWatch {
    const char* fileName;
    NewerTextArrived newer;
    ReplayWork work;
    Uint32 startedAt = 0;
    Uint32 polledAt = 0;
    Uint32 drawnAt = 0;
    bool polled = false;
    bool shown = false;
    bool redrawNeeded = false;
    bool quit = false;
    bool superseded = false;
};

// Reads every pending event: Escape and the close box quit, an uncovered
// window is drawn again, everything else is dropped.
void pollDuringReplay(ReplayWatch& watch)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT
            || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE))
            watch.quit = true;
        else if (event.type == SDL_VIDEOEXPOSE || event.type == SDL_ACTIVEEVENT)
            watch.redrawNeeded = true;
    }
}

// "12.5 percent done, about 3 minutes left": the share of the work done,
// and the time left if the work goes on at the pace it has had so far.
void formatWorkDone(char* text, size_t size, double doneShare, Uint32 elapsedMs)
{
    // The font has no per cent sign.
    int written = snprintf(text, size, "%.1f percent done", 100 * doneShare);
    if (written < 0 || (size_t)written >= size || doneShare <= 0 || elapsedMs < 1000)
        return;
    double secondsLeft = elapsedMs / 1000.0 * (1 - doneShare) / doneShare;
    if (secondsLeft < 90)
        snprintf(text + written, size - written, ", about %d seconds left", (int)secondsLeft + 1);
    else if (secondsLeft < 90 * 60)
        snprintf(text + written, size - written, ", about %d minutes left",
            (int)(secondsLeft / 60 + 0.5));
    else
        snprintf(text + written, size - written, ", about %.1f hours left", secondsLeft / 3600);
}

// Shows how far the replay has got, over the slots as they stand.
void drawProgress(const ReplayWatch& watch, int32_t stepIndex, int32_t application, Uint32 now)
{
    const Step& step = *watch.work.steps[stepIndex];
    double total = totalWork(watch.work);
    double done = workDone(watch.work, stepIndex, application);
    char name[OVERLAY_LINE_CHARACTERS + 1];
    shortenInMiddle(watch.fileName, OVERLAY_LINE_CHARACTERS - 2, name);
    char line[OVERLAY_LINE_CHARACTERS + 1];
    formatStepOfSteps(line, sizeof line, "Step", watch.work, stepIndex);
    startOverlay(false);
    addOverlayLine(OVERLAY_TITLE_COLOR, 0, "Replaying");
    addOverlayLine(OVERLAY_NAME_COLOR, 2, name);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, line);
    if (step.repeat > 1) {
        snprintf(line, sizeof line, "Repeat %d of %d", (int)application + 1, (int)step.repeat);
        addOverlayLine(OVERLAY_TEXT_COLOR, 0, line);
    }
    formatWorkDone(line, sizeof line, total > 0 ? done / total : 0, now - watch.startedAt);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, line);
    addOverlaySpace();
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "Escape or closing the window quits.");
    renderFrame();
}

// Told before each application: reads input now and then, and draws the
// progress once the replay has run long; false once the user quit.
bool onApplication(void* context, int32_t stepIndex, int32_t application)
{
    ReplayWatch& watch = *(ReplayWatch*)context;
    Uint32 now = SDL_GetTicks();
    if (!watch.polled || now - watch.polledAt >= POLL_PERIOD_MS) {
        pollDuringReplay(watch);
        watch.superseded = !watch.quit && watch.newer && watch.newer();
        watch.polled = true;
        watch.polledAt = now;
    }
    if (watch.quit || watch.superseded)
        return false;
    bool due = watch.shown ? now - watch.drawnAt >= DRAW_PERIOD_MS || watch.redrawNeeded
                           : now - watch.startedAt >= (Uint32)SHOW_PROGRESS_AFTER_MS;
    if (due) {
        drawProgress(watch, stepIndex, application, now);
        watch.shown = true;
        watch.redrawNeeded = false;
        watch.drawnAt = now;
    }
    return true;
}

} // namespace

ReplayEnd replayShowingProgress(const Recipe& recipe, const char* fileName, NewerTextArrived newer)
{
    ReplayWatch watch;
    watch.fileName = fileName;
    watch.newer = newer;
    watch.work = workOfRecipe(recipe);
    watch.startedAt = SDL_GetTicks();
    bool finished = replayRecipe(session, recipe, onApplication, &watch);
    if (watch.shown)
        closeOverlay();
    if (finished)
        return REPLAY_FINISHED;
    return watch.quit ? REPLAY_QUIT : REPLAY_SUPERSEDED;
}

ReplayEnd openRecipeInWindow(
    const Recipe& recipe, const std::string& text, const char* fileName, NewerTextArrived newer)
{
    releaseSession(session);
    resetToStartUp(session.slots);
    nameSaveFilesAtLaunch(fileName);
    showSaveFileName();
    targetSlot = recipe.saveSlot >= 0 ? recipe.saveSlot : 0;
    markSelection(targetButtons, targetSlot);
    // A material saved from the lit view shows again at a press of L: its
    // heights' slot is the source.
    sourceSlot = recipe.material.height >= 0 ? recipe.material.height : 0;
    reopenedMaterial = recipe.material;
    markSelection(sourceButtons, sourceSlot);
    // The session goes on from the recipe's, with its steps to undo.
    ReplayEnd end = REPLAY_FINISHED;
    if (!screen)
        replayRecipe(session, recipe);
    else
        end = replayShowingProgress(recipe, fileName, newer);
    reopenedRecipeText = text;
    replayedLineCount = session.lines.size();
    return end;
}
