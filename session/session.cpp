#include "session/session.h"

#include "texture/random.h"
#include "texture/texture.h"

namespace {

// Appends the step's recipe line and applies it; a held press may continue it.
void recordAndApply(Session& session, const Step& step)
{
    RecipeLine line = RecipeLine();
    line.kind = LINE_STEP;
    line.step = step;
    session.lines.push_back(line);
    // A warp without memory for its scratch leaves the slot as it was, as
    // its button does.
    applyStep(session.slots, TEXTURE_SIZE, step);
    session.holdOpen = true;
}

void recordMark(Session& session, RecipeLineKind kind)
{
    RecipeLine line = RecipeLine();
    line.kind = kind;
    session.lines.push_back(line);
}

} // namespace

void performStep(Session& session, const Step& step, bool continuesHold)
{
    if (continuesHold && session.holdOpen) {
        Step& held = session.lines.back().step;
        // A hold longer than a recipe allows goes on as a new step.
        if (sameStepButRepeat(held, step) && held.repeat <= MAX_REPEAT - step.repeat) {
            applyStep(session.slots, TEXTURE_SIZE, step);
            held.repeat += step.repeat;
            return;
        }
    }
    recordStep(session.history, session.slots, step.target);
    recordAndApply(session, step);
}

namespace {

// Undoes or redoes one step with `move`; records it only if it acted.
bool moveThroughHistory(Session& session,
    bool (*move)(History& history, Pixel* const slots[SLOT_COUNT]), RecipeLineKind kind)
{
    session.holdOpen = false;
    if (!move(session.history, session.slots))
        return false;
    recordMark(session, kind);
    return true;
}

} // namespace

bool undoLastStep(Session& session)
{
    return moveThroughHistory(session, undoStep, LINE_UNDO);
}

bool redoNextStep(Session& session)
{
    return moveThroughHistory(session, redoStep, LINE_REDO);
}

bool setRandomSeed(Session& session, uint32_t seed)
{
    session.holdOpen = false;
    if (seed == 0)
        return false;
    randomSeed = seed;
    RecipeLine line = RecipeLine();
    line.kind = LINE_SEED;
    line.seed = seed;
    session.lines.push_back(line);
    return true;
}

void endHold(Session& session)
{
    session.holdOpen = false;
}

void releaseSession(Session& session)
{
    releaseHistory(session.history);
    session.lines.clear();
    session.lines.shrink_to_fit();
    session.holdOpen = false;
}
