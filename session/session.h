// What the user did to the slots: each step applied, kept for undo and
// recorded as a recipe line as it happens. The window program and the
// windowless renderer both drive the slots through one of these.
#pragma once

#include <cstdint>
#include <vector>

#include "session/history.h"
#include "session/recipe.h"
#include "session/step.h"

struct Session {
    Pixel* slots[SLOT_COUNT] = {}; // not owned
    History history;
    std::vector<RecipeLine> lines; // what was done, as recipe lines
    // The last thing done was a step that a held press may go on repeating.
    bool holdOpen = false;
};

// Applies a step and records it. When `continuesHold` is set and the last
// thing the session did was the same step but for its repeat, the operation
// runs again as part of that step: its recorded repeat grows, and nothing is
// allocated. Otherwise the target slot is kept for undo, the steps that could
// have been redone are dropped and a new line is recorded.
void performStep(Session& session, const Step& step, bool continuesHold);

// Undoes or redoes one step, as the keys do; records "undo" or "redo" only
// when there was something to undo or redo. Neither runs an operation.
bool undoLastStep(Session& session);
bool redoNextStep(Session& session);

// Sets the random generator's state and records "seed N". Seed 0 would make
// every random number 0, so it is refused: returns false and does nothing.
bool setRandomSeed(Session& session, uint32_t seed);

// The held press was released: the next step is a new one.
void endHold(Session& session);

// Frees the history buffers and forgets the recorded lines; the slots stay
// as they are.
void releaseSession(Session& session);
