#include "app/parameters.h"

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

// The bounds are not uniform on purpose: sizes and the balance reach 256,
// the signed ones run from -128 to +128, the generator's wave counts stop at
// 99 but the deform's at 100.
const Parameter PARAMETERS[PARAMETER_COUNT] = {
    { "Nr:", &cellCount, 1, 99 },
    { "Size:", &cellSize, 5, 200 },
    { "Variation:", &plasmaVariation, 1, 100 },
    { "Size:", &spotSize, 5, 256 },
    { "Nr X:", &sineWavesX, 0, 99 },
    { "Nr Y:", &sineWavesY, 0, 99 },
    { "Balance:", &mixBalance, 0, 256 },
    { "X:", &moveX, -128, 128 },
    { "Y:", &moveY, -128, 128 },
    { "Nr X:", &deformWavesX, 0, 100 },
    { "Nr Y:", &deformWavesY, 0, 100 },
    { "SizeX:", &deformSizeX, 0, 256 },
    { "SizeY:", &deformSizeY, 0, 256 },
    { "Direction:", &twirlDirection, -128, 128 },
};
