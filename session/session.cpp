#include "session/session.h"

#include "texture/random.h"

void performStep(Session& session, const Step& step, bool continuesHold)
{
    if (continuesHold && session.holdOpen) {
        Step& held = session.lines.back().step;
        // A hold longer than a recipe allows goes on as a new step.
        if (sameStepButRepeat(held, step) && held.repeat <= MAX_REPEAT - step.repeat) {
            applyStep(session.slots, step);
            held.repeat += step.repeat;
            return;
        }
    }
    recordStep(session.history, session.slots, step.target);
    RecipeLine line = RecipeLine();
    line.kind = LINE_STEP;
    line.step = step;
    session.lines.push_back(line);
    applyStep(session.slots, step);
    session.holdOpen = true;
}

namespace {

void recordMark(Session& session, RecipeLineKind kind)
{
    RecipeLine line = RecipeLine();
    line.kind = kind;
    session.lines.push_back(line);
}

} // namespace

bool undoLastStep(Session& session)
{
    session.holdOpen = false;
    if (!undoStep(session.history, session.slots))
        return false;
    recordMark(session, LINE_UNDO);
    return true;
}

bool redoNextStep(Session& session)
{
    session.holdOpen = false;
    if (!redoStep(session.history, session.slots))
        return false;
    recordMark(session, LINE_REDO);
    return true;
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
