#include "session/history.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "texture/texture.h"

namespace {

const size_t TEXTURE_BYTES = TEXTURE_PIXEL_COUNT * sizeof(Pixel);

// The step `age` places after the oldest kept.
HistoryEntry& entryAt(History& history, int32_t age)
{
    return history.entries[(history.oldest + age) % HISTORY_DEPTH];
}

// Exchanges the entry's buffer with its slot's pixels.
void swapWithSlot(const HistoryEntry& entry, Pixel* const slots[SLOT_COUNT])
{
    Pixel* pixels = slots[entry.slot];
    std::swap_ranges(pixels, pixels + TEXTURE_PIXEL_COUNT, entry.pixels);
}

// Drops the steps that could have been redone; returns one of their buffers
// for reuse, or null if there were none.
Pixel* dropRedoableSteps(History& history)
{
    Pixel* spare = nullptr;
    for (int32_t age = history.done; age < history.kept; ++age) {
        HistoryEntry& entry = entryAt(history, age);
        if (spare)
            free(entry.pixels);
        else
            spare = entry.pixels;
        entry = HistoryEntry();
    }
    history.kept = history.done;
    return spare;
}

// Drops the oldest step and returns its buffer.
Pixel* dropOldestStep(History& history)
{
    HistoryEntry& entry = entryAt(history, 0);
    Pixel* buffer = entry.pixels;
    entry = HistoryEntry();
    history.oldest = (history.oldest + 1) % HISTORY_DEPTH;
    --history.kept;
    --history.done;
    return buffer;
}

// Makes room for a new step at the end: drops the steps that could have been
// redone, and the oldest step if the history is full. Returns a buffer freed
// on the way, for reuse, or null.
Pixel* makeRoom(History& history)
{
    Pixel* buffer = dropRedoableSteps(history);
    if (history.kept == HISTORY_DEPTH) {
        Pixel* oldest = dropOldestStep(history);
        if (buffer)
            free(oldest);
        else
            buffer = oldest;
    }
    return buffer;
}

void append(History& history, int32_t slot, Pixel* buffer)
{
    entryAt(history, history.kept) = HistoryEntry { slot, buffer };
    ++history.kept;
    ++history.done;
}

} // namespace

History::~History()
{
    releaseHistory(*this);
}

bool recordStep(History& history, Pixel* const slots[SLOT_COUNT], int32_t slot)
{
    Pixel* buffer = makeRoom(history);
    if (!buffer)
        buffer = (Pixel*)malloc(TEXTURE_BYTES);
    if (!buffer) {
        releaseHistory(history);
        return false;
    }
    memcpy(buffer, slots[slot], TEXTURE_BYTES);
    append(history, slot, buffer);
    return true;
}

bool undoStep(History& history, Pixel* const slots[SLOT_COUNT])
{
    if (history.done == 0)
        return false;
    --history.done;
    swapWithSlot(entryAt(history, history.done), slots);
    return true;
}

bool redoStep(History& history, Pixel* const slots[SLOT_COUNT])
{
    if (history.done == history.kept)
        return false;
    swapWithSlot(entryAt(history, history.done), slots);
    ++history.done;
    return true;
}

void releaseHistory(History& history)
{
    for (HistoryEntry& entry : history.entries) {
        free(entry.pixels);
        entry = HistoryEntry();
    }
    history.oldest = 0;
    history.kept = 0;
    history.done = 0;
}

int32_t undoableStepCount(const History& history)
{
    return history.done;
}

int32_t redoableStepCount(const History& history)
{
    return history.kept - history.done;
}

size_t historyBytes(const History& history)
{
    size_t bytes = 0;
    for (const HistoryEntry& entry : history.entries)
        if (entry.pixels)
            bytes += TEXTURE_BYTES;
    return bytes;
}
