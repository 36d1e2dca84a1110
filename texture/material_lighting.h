// Lighting a material as real-time renderers do: the metallic-roughness
// model, with Lambert's diffuse light, the GGX distribution of microfacets
// with Smith's masking, and Schlick's Fresnel, under one directional light
// and an ambient one, seen from straight above. Only +, -, x, / and square
// roots, so every machine gets the same bits.
#pragma once

#include "texture/normal_map.h"

// A colour or a light's share of one, each channel linear, 0..1 for colours.
struct LinearColor {
    double red;
    double green;
    double blue;
};

// What a material without a roughness map, or without a metallic map, is
// everywhere: fully rough and not metal, matte as a plain colour is.
const double ROUGHNESS_WITHOUT_MAP = 1.0;
const double METALLIC_WITHOUT_MAP = 0.0;

// The light a material is seen in. The viewer looks straight down, from
// (0, 0, 1).
struct MaterialLight {
    UnitNormal direction; // towards the light, of unit length
    double intensity; // the directional light's
    double ambient; // the sky's, on every surface, darkened by occlusion
};

// The colour leaving a pixel of the material towards the viewer: base colour
// `base`, unit normal `normal`, `occlusion` 0 (no sky) .. 1 (open sky),
// `roughness` 0 (smooth) .. 1 (fully rough) as textures hold it, and
// `metallic` 0 (not metal) .. 1 (metal). Channels may exceed 1 in a
// highlight.
LinearColor lightMaterial(const LinearColor& base, const UnitNormal& normal, double occlusion,
    double roughness, double metallic, const MaterialLight& light);
