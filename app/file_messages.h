// The messages over the slot area about the followed recipe file: a new
// recipe, a text that cannot be used, a file that was removed, and a file
// changed on disk while the window holds steps it has not saved. Each is
// owned by `owner`, so the follower can close it once it no longer holds.
#pragma once

#include <cstddef>

#include "app/overlay.h"

// A recipe named on the command line that no file has yet.
void showNewRecipeMessage(const void* owner, const char* recipeName, const char* bitmapName);

// What a reopen would print for the file (`error`, one line that may be
// longer than the overlay's, wrapped), and that the slots stay as they are.
void showUnusableRecipeMessage(const void* owner, const char* error);

// The file that the slots came from is gone.
void showRemovedRecipeMessage(const void* owner, const char* recipeName);

// The file changed on disk while the window holds `unsavedSteps` steps not
// in it. `reload` (F5) and `saveAsNew` (Ctrl+Shift+S) act through it.
void showChangedOnDiskMessage(const void* owner, const char* recipeName, size_t unsavedSteps,
    OverlayKeyAction reload, OverlayKeyAction saveAsNew);

// Save refused: the file on disk is not what the window last read or wrote,
// and saving would write over it. The same keys act through it.
void showSaveRefusedMessage(
    const void* owner, const char* recipeName, OverlayKeyAction reload, OverlayKeyAction saveAsNew);
