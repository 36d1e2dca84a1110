// Replaying a recipe: from the state right after start-up, every line goes
// through the session as if the user did it, so a replay leaves the same
// slots, history and recorded lines as the session that was recorded.
#pragma once

#include "session/recipe.h"
#include "session/session.h"

// The steps that fill the four slots at start-up, in slot order, from seed 1.
extern const Step START_UP_STEPS[SLOT_COUNT];

// The state right after start-up: the random generator at seed 1, then the
// four start-up textures generated in slot order (the plasma's slot emptied
// first, as its button does).
void resetToStartUp(Pixel* const slots[SLOT_COUNT]);

// Told before each application of a step of the recipe: the step's number
// among the recipe's steps from 0, and the application's among its repeats.
// Returns false to stop the replay there.
typedef bool (*ReplayProgress)(void* context, int32_t stepIndex, int32_t application);

// Performs every line of the recipe on the session's slots in order, keeping
// every step's pixels for undo as the session does. Its "save" line is not an
// action; the caller reads recipe.saveSlot. With `progress`, tells it before
// each application; false if it stopped the replay, which leaves the
// session with the applications done before.
bool replayRecipe(Session& session, const Recipe& recipe, ReplayProgress progress = nullptr,
    void* context = nullptr);
