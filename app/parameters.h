// The control panel's parameters: integers with inclusive bounds, changed
// only by their "+" and "-" steppers, and the two ramp colours.
#pragma once

#include <cstdint>

extern int32_t cellCount, cellSize;
extern int32_t plasmaVariation;
extern int32_t spotSize;
extern int32_t sineWavesX, sineWavesY;
extern int32_t mixBalance;
extern int32_t moveX, moveY;
extern int32_t deformWavesX, deformWavesY, deformSizeX, deformSizeY;
extern int32_t twirlDirection;

// The two ramp colours, each component 0..255, edited through the colour picker.
extern int32_t color1Red, color1Green, color1Blue;
extern int32_t color2Red, color2Green, color2Blue;

// Which colour the picker edits: 1 or 2.
extern int32_t editedColor;

struct Parameter {
    const char* label; // caption of its stepper group
    int32_t* value;
    int32_t min;
    int32_t max;
};

// One entry per stepper group, in the order the panel lays them out.
enum ParameterIndex {
    CELL_COUNT,
    CELL_SIZE,
    PLASMA_VARIATION,
    SPOT_SIZE,
    SINE_WAVES_X,
    SINE_WAVES_Y,
    MIX_BALANCE,
    MOVE_X,
    MOVE_Y,
    DEFORM_WAVES_X,
    DEFORM_WAVES_Y,
    DEFORM_SIZE_X,
    DEFORM_SIZE_Y,
    TWIRL_DIRECTION,
    PARAMETER_COUNT
};

extern const Parameter PARAMETERS[PARAMETER_COUNT];

// The "+" command of a parameter: adds 1 unless the value is at its max.
template <int index> void incrementParameter()
{
    const Parameter& parameter = PARAMETERS[index];
    if (*parameter.value < parameter.max)
        *parameter.value += 1;
}

// The "-" command of a parameter: subtracts 1 unless the value is at its min.
template <int index> void decrementParameter()
{
    const Parameter& parameter = PARAMETERS[index];
    if (*parameter.value > parameter.min)
        *parameter.value -= 1;
}
