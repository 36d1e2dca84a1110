// The lit view: the target slot's colours lit from the upper left as a
// relief whose heights are the source slot's, so a colour slot and a height
// slot show the material they make together.
#pragma once

#include "gfx/canvas.h"
#include "texture/normal_map.h"

// How much of a colour a surface with this unit normal shows, in 1/65536:
// 65536 for a flat surface, more where it faces the light, less where it
// turns away, and never less than the ambient light's share.
uint32_t lightLevel(const UnitNormal& normal);

// Draws the 256x256 `colors` lit as the relief of the 256x256 `heights`
// (their luma, at the default relief) four times, edge to edge, with the
// top-left corner at (x, y). The canvas must hold all 512x512 pixels.
// Works in memory it keeps for the purpose, so drawing allocates nothing.
void drawLitTiles(Canvas canvas, int32_t x, int32_t y, const Pixel* colors, const Pixel* heights);
