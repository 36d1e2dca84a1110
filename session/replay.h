// Replaying a recipe: from the state right after start-up, every line goes
// through the session as if the user did it, so a replay leaves the same
// slots, history and recorded lines as the session that was recorded.
#pragma once

#include "session/recipe.h"
#include "session/session.h"

// The state right after start-up: the random generator at seed 1, then the
// four start-up textures generated in slot order (the plasma's slot emptied
// first, as its button does).
void resetToStartUp(Pixel* const slots[SLOT_COUNT]);

// What a replay leaves in the session's undo history.
enum ReplayHistory {
    // The history the recorded session had, for going on working.
    REPLAY_KEEPS_FULL_HISTORY,
    // Pixels kept only for the steps the recipe itself undoes: the same
    // slots, but no first touch of 50 fresh textures, for rendering alone.
    // A session that already holds steps keeps the full history instead.
    REPLAY_KEEPS_WHAT_IT_UNDOES,
};

// Performs every line of the recipe on the session's slots in order. Its
// "save" line is not an action; the caller reads recipe.saveSlot.
void replayRecipe(
    Session& session, const Recipe& recipe, ReplayHistory history = REPLAY_KEEPS_FULL_HISTORY);
