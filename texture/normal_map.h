// Normal maps: the surface whose heights are a texture's brightness, as the
// colours a renderer reads its slopes from. The slopes are measured per
// texture width, not per pixel, so one recipe gives the same surface at
// every side.
#pragma once

#include "texture/depth.h"
#include "texture/texture.h"

// How high black-to-white stands, as a fraction of the texture's width,
// when nothing else is asked for: 0.02, so that the gallery's brick wall,
// laid a metre wide, has its bricks stand about a centimetre out of the
// mortar. The gallery's materials then show their joints, rings and grain
// in light from the side; at 0.04 the bricks' faces and the wood's fibres
// turn gritty and the water's crests sharp, at 0.01 the grain all but goes.
const double DEFAULT_RELIEF = 0.02;

// The largest relief a user may ask for.
const double MAX_RELIEF = 10.0;

struct NormalOptions {
    double relief = DEFAULT_RELIEF; // 0 < relief <= MAX_RELIEF
    // Green grows towards the top of the picture, as OpenGL reads normal
    // maps; false: towards the bottom, as DirectX does.
    bool greenUp = true;
};

// The height of a pixel, 0..1: its luma over the depth's largest level.
template <class P> inline double heightOf(P pixel)
{
    return (0.2126 * channelOf(pixel, 2) + 0.7152 * channelOf(pixel, 1)
               + 0.0722 * channelOf(pixel, 0))
        / (double)Depth<P>::MAX;
}

// The height of a pixel as a 16-bit level: (int)(h x 65535 + 0.5), h its
// heightOf, so a height map holds the very heights a normal map is made from.
template <class P> inline uint32_t heightLevel(P pixel)
{
    return (uint32_t)(heightOf(pixel) * 65535.0 + 0.5);
}

// Writes the heights of the texture `colors` (side `side`) into `heights`,
// a 16-bit texture of the same side, as greys of their heightLevel. Large
// sides split their rows across threads.
template <class P> void generateHeightMap(const P* colors, int32_t side, DeepPixel* heights);

// Writes the normal map of the texture `heights` (side `side`, heights from
// its luma) into `normals`, a texture of the same side whose depth sets the
// output's levels: 255 for Pixel, 65535 for DeepPixel; red is x, green y,
// blue z. The slopes come from a Sobel filter on the torus. Large sides
// split their rows across threads.
template <class P, class Q>
void generateNormalMap(const P* heights, int32_t side, const NormalOptions& options, Q* normals);

// A normal of unit length: x to the right, y up (down when green is down),
// z out of the picture.
struct UnitNormal {
    double x;
    double y;
    double z;
};

// The same surface as generateNormalMap's, as unit normals rather than
// colours, for code that lights it: the normal map's levels are these
// components mapped from -1..1 onto 0..MAX and rounded.
template <class P>
void generateUnitNormals(
    const P* heights, int32_t side, const NormalOptions& options, UnitNormal* normals);
