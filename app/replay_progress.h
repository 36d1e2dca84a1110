// Replaying a reopened recipe in the open window. A recipe can hold hours
// of work (a press held for a million repeats), so once the replay has taken
// half a second its progress shows over the slot area, and Escape or the
// window's close box stops it at once.
#pragma once

#include "session/recipe.h"

// Replays the recipe into the session, drawing its progress while it runs
// long; input meanwhile is read and dropped. False when the user quit
// during it: the session then holds the part done.
bool replayShowingProgress(const Recipe& recipe, const char* fileName);
