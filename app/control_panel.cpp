#include "app/control_panel.h"

#include <cstdio>
#include <cstring>

#include "app/commands.h"
#include "app/frame.h"
#include "app/parameters.h"
#include "app/saving.h"
#include "app/state.h"

namespace {

// Buttons, captions and value labels share one blue; the save file's name
// is green like a selected slot button.
const Pixel PANEL_COLOR = BUTTON_COLOR;
const Pixel CAPTION_COLOR = 0x000000;
const int32_t STEPPER_SIZE = 18;

// The save file name's label runs from here to the window's right edge, 7
// pixels a character and the last one 6 wide: 105 characters.
const int32_t SAVE_NAME_X = 60;
const size_t SAVE_NAME_MAX_CHARACTERS = (WINDOW_WIDTH - SAVE_NAME_X + 1) / 7;

// Every button runs the same command for any mouse button, so holding a
// button other than the left one repeats it on every frame.
Button* addButton(int32_t x, int32_t y, int32_t width, int32_t height, const char* caption,
    Command command, Pixel color = PANEL_COLOR)
{
    Button* button
        = new Button(x, y, width, height, color, caption, CAPTION_COLOR, command, command);
    widgets.addButton(button);
    return button;
}

void addLabel(int32_t x, int32_t y, const char* text, Pixel color = PANEL_COLOR)
{
    widgets.addLabel(new Label(x, y, color, text, true));
}

// Where a stepper group stands: the caption label, the "+" button, and the
// "-" button on the "+" button's row. The value label always stands 20
// pixels right of "+", on the caption's row.
struct StepperPlace {
    int32_t captionX, captionY;
    int32_t plusX, plusY;
    int32_t minusX;
};

const StepperPlace STEPPER_PLACES[PARAMETER_COUNT] = {
    /* CELL_COUNT       */ { 595, 75, 620, 71, 657 },
    /* CELL_SIZE        */ { 690, 75, 730, 71, 772 },
    /* PLASMA_VARIATION */ { 595, 100, 670, 96, 715 },
    /* SPOT_SIZE        */ { 595, 125, 670, 121, 715 },
    /* SINE_WAVES_X     */ { 600, 150, 635, 146, 675 },
    /* SINE_WAVES_Y     */ { 705, 150, 740, 146, 780 },
    /* MIX_BALANCE      */ { 650, 216, 710, 211, 755 },
    /* MOVE_X           */ { 595, 419, 610, 416, 659 },
    /* MOVE_Y           */ { 690, 419, 720, 416, 774 },
    /* DEFORM_WAVES_X   */ { 585, 444, 620, 441, 659 },
    /* DEFORM_WAVES_Y   */ { 690, 444, 725, 441, 764 },
    /* DEFORM_SIZE_X    */ { 565, 469, 615, 466, 659 },
    /* DEFORM_SIZE_Y    */ { 685, 469, 730, 466, 775 },
    /* TWIRL_DIRECTION  */ { 585, 494, 660, 491, 714 },
};

// Adds a parameter's caption label, "+" button, value label and "-" button.
template <int index> void addStepperGroup()
{
    const Parameter& parameter = PARAMETERS[index];
    const StepperPlace& place = STEPPER_PLACES[index];
    addLabel(place.captionX, place.captionY, parameter.label);
    addButton(place.plusX, place.plusY, STEPPER_SIZE, STEPPER_SIZE, "+", incrementParameter<index>);
    widgets.addLabel(new Label(place.plusX + 20, place.captionY, PANEL_COLOR, parameter.value));
    addButton(
        place.minusX, place.plusY, STEPPER_SIZE, STEPPER_SIZE, "-", decrementParameter<index>);
}

// Four 20x20 buttons "1".."4" in a 2x2 block like the slot grid; "1" starts selected.
void addSlotButtons(int32_t x, int32_t y, Button* buttons[4], const Command select[4])
{
    static const char* const CAPTIONS[4] = { "1", "2", "3", "4" };
    for (int32_t i = 0; i < 4; ++i) {
        buttons[i] = new Button(x + (i % 2) * 20, y + (i / 2) * 20, 20, 20, PANEL_COLOR,
            CAPTIONS[i], CAPTION_COLOR, select[i], select[i]);
        widgets.addButton(buttons[i]);
    }
    markSelection(buttons, 0);
}

} // namespace

void buildControlPanel()
{
    addLabel(530, 4, "Target");
    addLabel(600, 4, "Source");
    const Command selectTarget[4] = { selectTarget1, selectTarget2, selectTarget3, selectTarget4 };
    const Command selectSource[4] = { selectSource1, selectSource2, selectSource3, selectSource4 };
    addSlotButtons(530, 15, targetButtons, selectTarget);
    addSlotButtons(600, 15, sourceButtons, selectSource);

    addLabel(530, 59, "Create base texture", TITLE_COLOR);
    addButton(530, 70, 50, 20, "Cells", runCells);
    addStepperGroup<CELL_COUNT>();
    addStepperGroup<CELL_SIZE>();
    addButton(530, 95, 50, 20, "Plasma", runPlasma);
    addStepperGroup<PLASMA_VARIATION>();
    addButton(530, 120, 50, 20, "Pong", runPong);
    addStepperGroup<SPOT_SIZE>();
    addButton(530, 145, 50, 20, "Sine", runSine);
    addStepperGroup<SINE_WAVES_X>();
    addStepperGroup<SINE_WAVES_Y>();

    addLabel(530, 200, "Combine two textures", TITLE_COLOR);
    addButton(530, 210, 30, 20, "Add", runAdd);
    addButton(565, 210, 30, 20, "Sub", runSub);
    addButton(615, 210, 30, 20, "Mix", runMix);
    addStepperGroup<MIX_BALANCE>();
    addButton(530, 235, 40, 20, "Copy", runCopy);
    addButton(575, 235, 30, 20, "Max", runMax);

    addLabel(530, 300, "Change colors", TITLE_COLOR);
    // Hidden under the two colour swatches: pressing a swatch presses its button.
    addButton(624, 299, 60, 13, " ", editColor1, 0x000000);
    addButton(715, 299, 60, 13, " ", editColor2, 0x000000);
    colorPicker = new ColorPicker(530, 315, &color1Red, &color1Green, &color1Blue);
    addButton(530, 350, 70, 20, "Colorize", runColorize);
    addButton(605, 350, 60, 20, "Invert", runInvert);
    addButton(670, 350, 50, 20, "Clear", runClear);

    addLabel(530, 400, "Deform", TITLE_COLOR);
    addButton(530, 415, 50, 20, "Move", runMove);
    addStepperGroup<MOVE_X>();
    addStepperGroup<MOVE_Y>();
    addButton(530, 440, 50, 20, "Sine", runDeform);
    addStepperGroup<DEFORM_WAVES_X>();
    addStepperGroup<DEFORM_WAVES_Y>();
    addStepperGroup<DEFORM_SIZE_X>();
    addStepperGroup<DEFORM_SIZE_Y>();
    addButton(530, 490, 50, 20, "Twirl", runTwirl);
    addStepperGroup<TWIRL_DIRECTION>();

    addButton(5, 550, 50, 20, "Save", runSave);
    saveNameLabel = new Label(SAVE_NAME_X, 555, SELECTED_BUTTON_COLOR, "", true);
    widgets.addLabel(saveNameLabel);
    showSaveFileName();
}

void showSaveFileName()
{
    if (!saveNameLabel)
        return;
    size_t length = strlen(saveFileName);
    if (length <= SAVE_NAME_MAX_CHARACTERS) {
        saveNameLabel->setText(saveFileName);
        return;
    }
    // The end of a path tells most: the file's own name.
    char shown[SAVE_NAME_MAX_CHARACTERS + 1];
    const char* end = saveFileName + length - (SAVE_NAME_MAX_CHARACTERS - 3);
    snprintf(shown, sizeof shown, "...%s", end);
    saveNameLabel->setText(shown);
}
