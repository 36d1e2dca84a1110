// Following the recipe file the window was opened on, while any text
// editor changes it: each save on disk is replayed into the window as a
// fresh start on the file would replay it, unless the window holds steps
// of its own that the file does not have. The window's own saves are not
// taken for changes, and Save never writes over a text it has not seen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "io/file_watch.h"

// How long a file's bytes must stay still before they count as a save: an
// editor that truncates the file and then writes it, or writes it in
// pieces, is done by then, and a read never shows half a file.
const uint32_t FILE_SETTLE_MS = 150;

// Where the system gives no change notification, how often the file is read.
const uint32_t FILE_POLL_PERIOD_MS = 500;

// Starts following the recipe file `path` (any file followed before is let
// go): `text` the bytes the slots were made from, and `exists` false for a
// new recipe that no file has yet, which a message then says Save creates.
void followRecipeFile(const char* path, const std::string& text, bool exists);

// Follows nothing any more.
void stopFollowingRecipe();

// Whether a recipe file is followed.
bool followingRecipe();

// What the main loop's wait waits on for the file's news, or NO_WAITABLE.
WatchWaitable followedFileWaitable();

// How many milliseconds from `now` (SDL's ticks) the follower has work to
// do, at the latest; -1 when it waits for news alone.
int followedFileDueInMs(uint32_t now);

// What the follower's work came to.
enum FollowResult {
    FOLLOW_NOTHING, // the window shows what it showed
    FOLLOW_REDRAW, // the slots or a message changed; a quit during a
                   // reload's replay is queued for the main loop
};

// Takes the file's news and, once its bytes have been still for
// FILE_SETTLE_MS, acts on them: bytes the slots already show do nothing
// (and close a message about the file); a text that can be used is
// replayed into the window, unless the window holds unsaved steps, when a
// message says how to go on; a text that cannot be used, or a file that is
// gone or cannot be read, leaves the slots as they are and says so.
FollowResult checkFollowedRecipe(uint32_t now);

// F5: reads the file now and replays it, dropping any unsaved steps; a
// text that cannot be used is shown as checkFollowedRecipe shows it.
// FOLLOW_NOTHING when no recipe file is followed.
FollowResult reloadFollowedRecipe();

// F5's action in the key table: reloadFollowedRecipe, true when the window
// may show something new.
bool reloadRecipeFromKey();

// The steps the window holds that the file does not: the lines a save
// would add since the file was last read or written.
size_t unsavedStepCount();

// Whether Save may write the followed file: it is what the window last read
// or wrote, or it is gone (nothing would be written over). When it may
// not, a message says why and what to do instead.
bool followedFileMayBeSaved();

// A save wrote `text` to the recipe file `path`: the window and the file
// agree again, and a save under a new name is followed from now on.
void noteRecipeSaved(const char* path, const std::string& text);
