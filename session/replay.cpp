#include "session/replay.h"

#include <vector>

#include "texture/random.h"

namespace {

// Cells 20/50, plasma 20, pong 128 and sine 5/7, one per slot.
const Step START_UP_STEPS[SLOT_COUNT] = {
    { OPERATION_CELLS, 0, 0, { 20, 50 }, 1 },
    { OPERATION_PLASMA, 1, 0, { 20 }, 1 },
    { OPERATION_PONG, 2, 0, { 128 }, 1 },
    { OPERATION_SINE, 3, 0, { 5, 7 }, 1 },
};

// Which lines are steps that the recipe undoes at some point: the history's
// bookkeeping followed without pixels, from an empty history.
std::vector<bool> stepsUndoneByRecipe(const Recipe& recipe)
{
    std::vector<bool> undone(recipe.lines.size(), false);
    std::vector<size_t> kept; // line numbers of the steps kept, oldest first
    size_t done = 0;
    for (size_t i = 0; i < recipe.lines.size(); ++i) {
        switch (recipe.lines[i].kind) {
        case LINE_STEP:
            kept.resize(done);
            if (kept.size() == (size_t)HISTORY_DEPTH)
                kept.erase(kept.begin());
            kept.push_back(i);
            done = kept.size();
            break;
        case LINE_UNDO:
            if (done > 0)
                undone[kept[--done]] = true;
            break;
        case LINE_REDO:
            if (done < kept.size())
                ++done;
            break;
        case LINE_SEED:
            break;
        }
    }
    return undone;
}

} // namespace

void resetToStartUp(Pixel* const slots[SLOT_COUNT])
{
    randomSeed = 1;
    for (const Step& step : START_UP_STEPS)
        applyStep(slots, step);
}

void replayRecipe(Session& session, const Recipe& recipe, ReplayHistory history)
{
    // What the recipe undoes is worked out from an empty history.
    bool keepAll = history == REPLAY_KEEPS_FULL_HISTORY
        || undoableStepCount(session.history) + redoableStepCount(session.history) > 0;
    std::vector<bool> undone;
    if (!keepAll)
        undone = stepsUndoneByRecipe(recipe);
    for (size_t i = 0; i < recipe.lines.size(); ++i) {
        const RecipeLine& line = recipe.lines[i];
        switch (line.kind) {
        case LINE_STEP:
            if (keepAll || undone[i])
                performStep(session, line.step, false);
            else
                performStepNeverUndone(session, line.step);
            break;
        case LINE_UNDO:
            undoLastStep(session);
            break;
        case LINE_REDO:
            redoNextStep(session);
            break;
        case LINE_SEED:
            setRandomSeed(session, line.seed);
            break;
        }
    }
    endHold(session);
}
