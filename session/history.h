// The undo history of slot contents. Each step kept holds one slot's other
// state: its pixels before the step while the step is done, its pixels after
// the step once undone. Steps are undone last-first, so when a step is undone
// its slot holds exactly that step's result, and undo and redo are both a
// swap of the slot's pixels with the step's buffer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "session/step.h"

// Steps kept for undo; older ones are dropped, and their buffers reused.
const int32_t HISTORY_DEPTH = 50;

struct HistoryEntry {
    int32_t slot; // the slot the step changed
    Pixel* pixels; // TEXTURE_PIXEL_COUNT pixels, owned
};

// A ring of entries, oldest first: the first `done` can be undone, the rest
// (up to `kept`) redone. Holds no memory until the first step.
struct History {
    HistoryEntry entries[HISTORY_DEPTH] = {};
    int32_t oldest = 0; // index in `entries` of the oldest step kept
    int32_t kept = 0;
    int32_t done = 0;

    History() = default;
    ~History();
    // The entries own their buffers.
    History(const History&) = delete;
    History& operator=(const History&) = delete;
};

// Keeps the slot's pixels as they are before a new step changes them, and
// drops the steps that could have been redone. When the history is full the
// oldest step is dropped and its buffer reused. If no buffer can be had, the
// whole history is dropped (a step that cannot be undone must not be undone
// past) and false is returned.
bool recordStep(History& history, Pixel* const slots[SLOT_COUNT], int32_t slot);

// Puts the slot of the most recent done step back to its pixels before that
// step. False, and nothing changes, if there is no step to undo.
bool undoStep(History& history, Pixel* const slots[SLOT_COUNT]);

// Puts the slot of the first undone step back to its pixels after that step.
// False, and nothing changes, if there is no step to redo.
bool redoStep(History& history, Pixel* const slots[SLOT_COUNT]);

// Drops every step and frees every buffer.
void releaseHistory(History& history);

int32_t undoableStepCount(const History& history);
int32_t redoableStepCount(const History& history);

// Bytes of pixel buffers the history holds.
size_t historyBytes(const History& history);
