// Replaying a reopened recipe in the open window. A recipe can hold hours
// of work (a press held for a million repeats), so once the replay has taken
// half a second its progress shows over the slot area, and Escape or the
// window's close box stops it at once.
#pragma once

#include <string>

#include "session/recipe.h"

// How a replay in the window ended.
enum ReplayEnd {
    REPLAY_FINISHED,
    REPLAY_QUIT, // the user quit: the session holds the part done
    REPLAY_SUPERSEDED, // a newer text arrived: the session holds the part done
};

// Asked now and then during a replay: whether a newer text has arrived that
// the replay should give way to.
typedef bool (*NewerTextArrived)();

// Replays the recipe into the session, drawing its progress while it runs
// long; input meanwhile is read and dropped, but Escape and the close box,
// which quit. With `newer`, stops early once it says so.
ReplayEnd replayShowingProgress(
    const Recipe& recipe, const char* fileName, NewerTextArrived newer = nullptr);

// Puts the recipe `text`, read from `fileName` and parsed into `recipe`,
// into the window as opening it does: the start-up slots, random numbers
// and history, the save names that go with the file, Target the slot the
// recipe saves and Source the one its material takes the heights from (else
// slot 1), and then its steps, replayed with their progress. The view, the
// panel's parameters and its colours stay as they are.
ReplayEnd openRecipeInWindow(const Recipe& recipe, const std::string& text, const char* fileName,
    NewerTextArrived newer = nullptr);
