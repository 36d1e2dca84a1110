#include "texture/material_lighting.h"

#include <cmath>

namespace {

const double PI = 3.14159265358979323846; // the double nearest to it

// A dielectric's reflectance at normal incidence.
const double DIELECTRIC_F0 = 0.04;

struct Channel {
    double base;
    double diffuse; // c_diff
    double f0;
};

// One channel of the light leaving the pixel: the directional light's
// diffuse and specular parts, then the sky's.
inline double lightChannel(const Channel& c, double metallic, double schlick, double specular,
    double direct, double skyLight)
{
    const double fresnel = c.f0 + (1.0 - c.f0) * schlick;
    const double diffuse = (1.0 - fresnel) * c.diffuse / PI;
    return (diffuse + fresnel * specular) * direct + skyLight * (c.diffuse + metallic * c.base);
}

Channel channelOf(double base, double metallic)
{
    return Channel { base, base * (1.0 - metallic),
        DIELECTRIC_F0 * (1.0 - metallic) + base * metallic };
}

} // namespace

LinearColor lightMaterial(const LinearColor& base, const UnitNormal& normal, double occlusion,
    double roughness, double metallic, const MaterialLight& light)
{
    const UnitNormal& l = light.direction;
    // The viewer is at (0, 0, 1): H halves the angle between it and the light.
    const double hx = l.x;
    const double hy = l.y;
    const double hz = l.z + 1.0;
    const double hLength = std::sqrt(hx * hx + hy * hy + hz * hz);
    const UnitNormal h { hx / hLength, hy / hLength, hz / hLength };

    const double nDotL = normal.x * l.x + normal.y * l.y + normal.z * l.z;
    const double nDotV = normal.z;
    const double nDotH = normal.x * h.x + normal.y * h.y + normal.z * h.z;
    const double vDotH = h.z;
    const double hDotL = h.x * l.x + h.y * l.y + h.z * l.z;

    // Schlick's (1 - |V.H|)^5, by multiplications.
    const double t = 1.0 - std::fabs(vDotH);
    const double t2 = t * t;
    const double schlick = t2 * t2 * t;

    // The directional light reaches only surfaces that face it and the
    // viewer; elsewhere only the sky's light is left.
    double direct = 0.0;
    double specular = 0.0; // D x V_vis
    if (nDotL > 0.0 && nDotV > 0.0) {
        direct = light.intensity * nDotL;
        const double alpha = roughness * roughness;
        const double a2 = alpha * alpha;
        // A perfect mirror sends the light one way only, which no pixel's
        // normal is taken to meet: D is 0 rather than 0 / 0.
        if (nDotH > 0.0 && a2 > 0.0 && hDotL > 0.0 && vDotH > 0.0) {
            const double d = nDotH * nDotH * (a2 - 1.0) + 1.0;
            const double distribution = a2 / (PI * (d * d));
            const double visibility = 1.0
                / ((nDotL + std::sqrt(a2 + (1.0 - a2) * (nDotL * nDotL)))
                    * (nDotV + std::sqrt(a2 + (1.0 - a2) * (nDotV * nDotV))));
            specular = distribution * visibility;
        }
    }
    const double skyLight = light.ambient * occlusion;
    return LinearColor {
        lightChannel(channelOf(base.red, metallic), metallic, schlick, specular, direct, skyLight),
        lightChannel(
            channelOf(base.green, metallic), metallic, schlick, specular, direct, skyLight),
        lightChannel(channelOf(base.blue, metallic), metallic, schlick, specular, direct, skyLight),
    };
}
