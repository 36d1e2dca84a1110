#include "app/shell.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "app/commands.h"
#include "app/control_panel.h"
#include "app/followed_recipe.h"
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
    reopenedMaterial = MaterialSlots();
    stopFollowingRecipe();
    if (opened) {
        if (opened->exists
            && openRecipeInWindow(opened->recipe, opened->text, opened->fileName.c_str())
                == REPLAY_QUIT)
            return SESSION_QUIT;
        // Followed from its first frame, so an editor beside the window can
        // change it, or write it first when it is new.
        followRecipeFile(opened->fileName.c_str(), opened->text, opened->exists);
    }
    SDL_EnableKeyRepeat(400, 80);
    return SESSION_READY;
}

void tearDownSession()
{
    stopFollowingRecipe();
    releaseSession(session);
    reopenedRecipeText.clear();
    reopenedRecipeText.shrink_to_fit();
    replayedLineCount = 0;
    reopenedMaterial = MaterialSlots();
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
