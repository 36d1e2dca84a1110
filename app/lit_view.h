// The lit view: the target slot's colours as a renderer lights the material
// they make with the source slot's heights and the reopened recipe's
// roughness and metallic slots, under a light from the upper left.
#pragma once

#include "gfx/canvas.h"
#include "texture/material_lighting.h"

// The view's light: from the upper left and out of the picture, along
// (-1, 1, 1), with a quarter of a flat surface's light from the sky, the
// directional light's intensity such that a flat, fully rough, non-metal
// white under an open sky comes out white.
const MaterialLight& litViewLight();

// A lit channel as an 8-bit level: (int)(value x 255 + 0.5), 255 from 1 up.
uint32_t litLevel(double value);

// Draws the 256x256 `colors` lit as the material whose heights are the
// luma of the 256x256 `heights` (at the default relief, for the slopes and
// the occlusion alike) and whose roughness and metallic are the luma of
// `roughness` and `metallic`, four times, edge to edge, with the top-left
// corner at (x, y). Without a roughness map the material is fully rough,
// without a metallic map not metal. The 8-bit levels are taken as linear.
// The canvas must hold all 512x512 pixels. Works in memory it keeps for the
// purpose, so drawing allocates nothing; the occlusion and the normals are
// worked out again only when the heights change.
void drawLitTiles(Canvas canvas, int32_t x, int32_t y, const Pixel* colors, const Pixel* heights,
    const Pixel* roughness, const Pixel* metallic);
