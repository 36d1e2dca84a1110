// Ambient occlusion: how much of the sky each point of a texture's relief
// sees past the heights around it, as the grey a renderer darkens its
// ambient light by. The heights are the height map's and the relief the
// normal map's, so the three maps of a material describe one surface; the
// horizons run round the torus, so the map tiles with its colours.
#pragma once

#include "texture/depth.h"
#include "texture/texture.h"

// The directions a horizon is sought in: the eight neighbours and the eight
// knight's moves, (±1, 0), (0, ±1), (±1, ±1), (±1, ±2), (±2, ±1).
const int32_t OCCLUSION_DIRECTIONS = 16;

// Writes the occlusion map of the texture `heights` (side `side`, a power
// of two up to MAX_TEXTURE_SIDE, heights from its luma as heightLevel gives
// them, standing `relief` texture widths from black to white) into
// `occlusion`, a texture of the same side whose depth sets the levels: each
// pixel the grey of the mean open sky of its sixteen directions, MAX where
// nothing around it is higher. `occlusion` holds the sums as they are made,
// so it must not be `heights`. `levels`, if not null, is room for side x
// side 16-bit levels of the heights that the call may use, apart from both
// textures; without it the call keeps room of its own. Large sides split
// each direction's lines across threads; the bytes are the same with any
// thread count.
template <class P, class Q>
void generateOcclusionMap(
    const P* heights, int32_t side, double relief, Q* occlusion, uint16_t* levels = nullptr);
