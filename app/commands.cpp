#include "app/commands.h"

#include "app/parameters.h"
#include "app/state.h"
#include "session/session.h"
#include "session/step.h"

Button* targetButtons[4];
Button* sourceButtons[4];

namespace {

// The panel values each operation reads, in the order of its keys; the rest null.
const int32_t* const PANEL_VALUES[OPERATION_COUNT][STEP_VALUE_COUNT] = {
    /* cells    */ { &cellCount, &cellSize },
    /* plasma   */ { &plasmaVariation },
    /* pong     */ { &spotSize },
    /* sine     */ { &sineWavesX, &sineWavesY },
    /* add      */ {},
    /* sub      */ {},
    /* mix      */ { &mixBalance },
    /* copy     */ {},
    /* max      */ {},
    /* colorize */ { &color1Red, &color1Green, &color1Blue, &color2Red, &color2Green, &color2Blue },
    /* invert   */ {},
    // Clear always fills with colour 1, whichever colour the picker edits.
    /* clear    */ { &color1Red, &color1Green, &color1Blue },
    /* move     */ { &moveX, &moveY },
    /* deform   */ { &deformWavesX, &deformWavesY, &deformSizeX, &deformSizeY },
    /* twirl    */ { &twirlDirection },
};

// One press of an operation's button as a step: the selected slots and the
// panel's current values.
Step panelStep(Operation operation)
{
    Step step = Step();
    step.operation = operation;
    step.target = targetSlot;
    step.source = sourceSlot;
    for (int32_t i = 0; i < STEP_VALUE_COUNT && PANEL_VALUES[operation][i]; ++i)
        step.values[i] = *PANEL_VALUES[operation][i];
    step.repeat = 1;
    return step;
}

// Runs the operation as a step of the session. The loop ends the session's
// hold at every new press and release, so a press repeated while held goes
// on as one step and any other press starts a new one.
void runOperation(Operation operation)
{
    performStep(session, panelStep(operation), true);
}

void selectTarget(int32_t slot)
{
    targetSlot = slot;
    markSelection(targetButtons, targetSlot);
}

void selectSource(int32_t slot)
{
    sourceSlot = slot;
    markSelection(sourceButtons, sourceSlot);
}

} // namespace

void markSelection(Button* buttons[4], int32_t selected)
{
    for (int32_t i = 0; i < 4; ++i)
        if (buttons[i])
            buttons[i]->setColor(i == selected ? SELECTED_BUTTON_COLOR : BUTTON_COLOR);
}

void selectTarget1()
{
    selectTarget(0);
}
void selectTarget2()
{
    selectTarget(1);
}
void selectTarget3()
{
    selectTarget(2);
}
void selectTarget4()
{
    selectTarget(3);
}
void selectSource1()
{
    selectSource(0);
}
void selectSource2()
{
    selectSource(1);
}
void selectSource3()
{
    selectSource(2);
}
void selectSource4()
{
    selectSource(3);
}

void runCells()
{
    runOperation(OPERATION_CELLS);
}

void runPlasma()
{
    runOperation(OPERATION_PLASMA);
}

void runPong()
{
    runOperation(OPERATION_PONG);
}

void runSine()
{
    runOperation(OPERATION_SINE);
}

void runAdd()
{
    runOperation(OPERATION_ADD);
}

void runSub()
{
    runOperation(OPERATION_SUB);
}

void runMix()
{
    runOperation(OPERATION_MIX);
}

void runCopy()
{
    runOperation(OPERATION_COPY);
}

void runMax()
{
    runOperation(OPERATION_MAX);
}

void editColor1()
{
    if (colorPicker)
        colorPicker->bind(&color1Red, &color1Green, &color1Blue);
    editedColor = 1;
}

void editColor2()
{
    if (colorPicker)
        colorPicker->bind(&color2Red, &color2Green, &color2Blue);
    editedColor = 2;
}

void runColorize()
{
    runOperation(OPERATION_COLORIZE);
}

void runInvert()
{
    runOperation(OPERATION_INVERT);
}

void runClear()
{
    runOperation(OPERATION_CLEAR);
}

void runMove()
{
    runOperation(OPERATION_MOVE);
}

void runDeform()
{
    runOperation(OPERATION_DEFORM);
}

void runTwirl()
{
    runOperation(OPERATION_TWIRL);
}
