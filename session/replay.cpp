#include "session/replay.h"

#include "texture/random.h"
#include "texture/texture.h"

// Cells 20/50, plasma 20, pong 128 and sine 5/7, one per slot.
const Step START_UP_STEPS[SLOT_COUNT] = {
    { OPERATION_CELLS, 0, 0, { 20, 50 }, 1 },
    { OPERATION_PLASMA, 1, 0, { 20 }, 1 },
    { OPERATION_PONG, 2, 0, { 128 }, 1 },
    { OPERATION_SINE, 3, 0, { 5, 7 }, 1 },
};

void resetToStartUp(Pixel* const slots[SLOT_COUNT])
{
    randomSeed = 1;
    for (const Step& step : START_UP_STEPS)
        applyStep(slots, TEXTURE_SIZE, step);
}

namespace {

// Performs the step one application at a time, as a press held for its
// repeats would, so the progress hears of each; false if it stopped.
bool performReported(
    Session& session, const Step& step, int32_t stepIndex, ReplayProgress progress, void* context)
{
    Step once = step;
    once.repeat = 1;
    for (int32_t i = 0; i < step.repeat; ++i) {
        if (!progress(context, stepIndex, i))
            return false;
        performStep(session, once, i > 0);
    }
    return true;
}

} // namespace

bool replayRecipe(Session& session, const Recipe& recipe, ReplayProgress progress, void* context)
{
    int32_t stepIndex = 0;
    for (const RecipeLine& line : recipe.lines) {
        switch (line.kind) {
        case LINE_STEP:
            if (!progress) {
                performStep(session, line.step, false);
            } else if (!performReported(session, line.step, stepIndex, progress, context)) {
                endHold(session);
                return false;
            }
            ++stepIndex;
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
    return true;
}
