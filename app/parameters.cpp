#include "app/parameters.h"

#include "session/step.h"

int32_t cellCount = 20, cellSize = 50;
int32_t plasmaVariation = 20;
int32_t spotSize = 128;
int32_t sineWavesX = 5, sineWavesY = 5;
int32_t mixBalance = 128;
int32_t moveX = 0, moveY = 0;
int32_t deformWavesX = 3, deformWavesY = 4, deformSizeX = 10, deformSizeY = 10;
int32_t twirlDirection = 64;

// Colour 1 starts red, colour 2 cyan.
int32_t color1Red = 255, color1Green = 0, color1Blue = 0;
int32_t color2Red = 0, color2Green = 255, color2Blue = 255;
int32_t editedColor = 1;

// The bounds are the ones recipes accept too.
const Parameter PARAMETERS[PARAMETER_COUNT] = {
    { "Nr:", &cellCount, CELL_COUNT_RANGE.min, CELL_COUNT_RANGE.max },
    { "Size:", &cellSize, CELL_SIZE_RANGE.min, CELL_SIZE_RANGE.max },
    { "Variation:", &plasmaVariation, PLASMA_VARIATION_RANGE.min, PLASMA_VARIATION_RANGE.max },
    { "Size:", &spotSize, SPOT_SIZE_RANGE.min, SPOT_SIZE_RANGE.max },
    { "Nr X:", &sineWavesX, SINE_WAVES_RANGE.min, SINE_WAVES_RANGE.max },
    { "Nr Y:", &sineWavesY, SINE_WAVES_RANGE.min, SINE_WAVES_RANGE.max },
    { "Balance:", &mixBalance, MIX_BALANCE_RANGE.min, MIX_BALANCE_RANGE.max },
    { "X:", &moveX, MOVE_RANGE.min, MOVE_RANGE.max },
    { "Y:", &moveY, MOVE_RANGE.min, MOVE_RANGE.max },
    { "Nr X:", &deformWavesX, DEFORM_WAVES_RANGE.min, DEFORM_WAVES_RANGE.max },
    { "Nr Y:", &deformWavesY, DEFORM_WAVES_RANGE.min, DEFORM_WAVES_RANGE.max },
    { "SizeX:", &deformSizeX, DEFORM_SIZE_RANGE.min, DEFORM_SIZE_RANGE.max },
    { "SizeY:", &deformSizeY, DEFORM_SIZE_RANGE.min, DEFORM_SIZE_RANGE.max },
    { "Direction:", &twirlDirection, TWIRL_DIRECTION_RANGE.min, TWIRL_DIRECTION_RANGE.max },
};
