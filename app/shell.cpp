#include "app/shell.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "app/commands.h"
#include "app/control_panel.h"
#include "app/frame.h"
#include "app/messages.h"
#include "app/overlay.h"
#include "app/replay_progress.h"
#include "app/saving.h"
#include "app/state.h"
#include "session/replay.h"

namespace {

bool createSlots()
{
    for (int32_t i = 0; i < SLOT_COUNT; ++i) {
        slots[i] = new (std::nothrow) Texture(TEXTURE_SIZE, TEXTURE_SIZE);
        // Every operation writes through the pixel array without a test.
        if (!slots[i] || !slots[i]->getPixels())
            return false;
    }
    return true;
}

} // namespace

bool videoDriverShowsNothing()
{
    char name[32];
    return SDL_VideoDriverName(name, sizeof name) && strcmp(name, "offscreen") == 0;
}

bool openWindow()
{
    screen = SDL_SetVideoMode(WINDOW_WIDTH, WINDOW_HEIGHT, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    return screen != nullptr;
}

SetUpResult setUpSession(const OpenedRecipe* opened)
{
    // Named before a long replay, so the window is known by its title meanwhile.
    SDL_WM_SetCaption("Quiltor", nullptr);
    nameSaveFilesAtLaunch(opened ? opened->fileName.c_str() : nullptr);
    slotArea = SlotArea::FOUR_SLOTS;
    closeOverlay();
    buildControlPanel();
    if (!createSlots())
        return SESSION_NO_MEMORY;
    getSlotPixels(session.slots);
    resetToStartUp(session.slots);
    reopenedRecipeText.clear();
    replayedLineCount = 0;
    if (opened) {
        targetSlot = opened->recipe.saveSlot >= 0 ? opened->recipe.saveSlot : 0;
        markSelection(targetButtons, targetSlot);
        // A material saved from the lit view shows again at a press of L:
        // its heights' slot is the source.
        if (opened->recipe.materialHeightSlot >= 0) {
            sourceSlot = opened->recipe.materialHeightSlot;
            markSelection(sourceButtons, sourceSlot);
        }
        // The session goes on from the recipe's, with its steps to undo.
        if (!screen)
            replayRecipe(session, opened->recipe);
        else if (!replayShowingProgress(opened->recipe, opened->fileName.c_str()))
            return SESSION_QUIT;
        reopenedRecipeText = opened->text;
        replayedLineCount = session.lines.size();
    }
    SDL_EnableKeyRepeat(400, 80);
    return SESSION_READY;
}

void tearDownSession()
{
    releaseSession(session);
    reopenedRecipeText.clear();
    reopenedRecipeText.shrink_to_fit();
    replayedLineCount = 0;
    for (Pixel*& pixels : session.slots)
        pixels = nullptr;
    saveNameLabel = nullptr; // the widget list deletes it
    delete colorPicker;
    colorPicker = nullptr;
    for (int32_t i = 0; i < SLOT_COUNT; ++i) {
        delete slots[i];
        slots[i] = nullptr;
    }
}

void failStartUp(int exitStatus, const char* reason)
{
    showStartUpFailure(reason);
    exit(exitStatus);
}
