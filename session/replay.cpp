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

void replayRecipe(Session& session, const Recipe& recipe)
{
    for (const RecipeLine& line : recipe.lines) {
        switch (line.kind) {
        case LINE_STEP:
            performStep(session, line.step, false);
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
