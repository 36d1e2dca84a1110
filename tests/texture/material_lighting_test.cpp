// The metallic-roughness lighting against its terms worked out plainly, one
// by one, for hand-picked surfaces.

#include <cmath>
#include <gtest/gtest.h>

#include "texture/material_lighting.h"

namespace {

const double PI = 3.14159265358979323846;

UnitNormal unit(double x, double y, double z)
{
    const double length = std::sqrt(x * x + y * y + z * z);
    return UnitNormal { x / length, y / length, z / length };
}

double dot(const UnitNormal& a, const UnitNormal& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

const MaterialLight LIGHT = { unit(-1, 1, 1), 2.5, 0.25 };
const UnitNormal VIEWER = { 0, 0, 1 };
const UnitNormal HALFWAY = unit(LIGHT.direction.x, LIGHT.direction.y, LIGHT.direction.z + 1);

// One channel as the model's terms read, with pow for the fifth power.
double plainChannel(double base, const UnitNormal& n, double occlusion, double roughness,
    double metallic, const MaterialLight& light)
{
    const UnitNormal& l = light.direction;
    const double nl = dot(n, l);
    const double nv = dot(n, VIEWER);
    const double nh = dot(n, HALFWAY);
    const double alpha2 = std::pow(roughness, 4);
    const double diffuseColor = base * (1 - metallic);
    const double f0 = 0.04 * (1 - metallic) + base * metallic;
    const double fresnel = f0 + (1 - f0) * std::pow(1 - std::fabs(dot(VIEWER, HALFWAY)), 5);
    const double d = nh > 0 ? alpha2 / (PI * std::pow(nh * nh * (alpha2 - 1) + 1, 2)) : 0;
    const double visibility = 1
        / ((std::fabs(nl) + std::sqrt(alpha2 + (1 - alpha2) * nl * nl))
            * (std::fabs(nv) + std::sqrt(alpha2 + (1 - alpha2) * nv * nv)));
    const double brdf = (1 - fresnel) * diffuseColor / PI + fresnel * d * visibility;
    const double direct = brdf * light.intensity * std::max(nl, 0.0);
    return direct + light.ambient * occlusion * (diffuseColor + metallic * base);
}

void expectPlain(const LinearColor& base, const UnitNormal& n, double occlusion, double roughness,
    double metallic, const MaterialLight& light = LIGHT)
{
    const LinearColor lit = lightMaterial(base, n, occlusion, roughness, metallic, light);
    const double channels[3][2]
        = { { lit.red, base.red }, { lit.green, base.green }, { lit.blue, base.blue } };
    for (const auto& channel : channels)
        EXPECT_NEAR(channel[0], plainChannel(channel[1], n, occlusion, roughness, metallic, light),
            1e-12 * (1 + channel[0]))
            << "base " << channel[1] << " roughness " << roughness << " metallic " << metallic;
}

TEST(MaterialLighting, IsTheModelsTermsForHandPickedSurfaces)
{
    const UnitNormal normals[] = { VIEWER, HALFWAY, unit(0.3, -0.2, 1), unit(-0.5, 0.1, 1) };
    for (const UnitNormal& n : normals)
        for (double roughness : { 0.1, 0.5, 1.0 })
            for (double metallic : { 0.0, 0.3, 1.0 })
                expectPlain(LinearColor { 0.9, 0.45, 0.1 }, n, 0.7, roughness, metallic);
}

TEST(MaterialLighting, AMetalsHighlightTakesItsColour)
{
    const LinearColor gold { 1.0, 0.75, 0.25 };
    // In the mirror direction, with no sky, all of a metal's light is its
    // specular reflection, tinted by F's f0 = base.
    const LinearColor metal = lightMaterial(gold, HALFWAY, 0.0, 0.3, 1.0, LIGHT);
    EXPECT_GT(metal.red, metal.green);
    EXPECT_GT(metal.green, metal.blue);
    // Schlick's term lifts every channel a little above f0, so the ratios
    // are close to the colour's, not equal.
    EXPECT_NEAR(metal.green / metal.red, 0.75, 0.01);
    EXPECT_NEAR(metal.blue / metal.red, 0.25, 0.01);
}

TEST(MaterialLighting, SmoothSurfacesGatherTheirHighlightRoughOnesSpreadIt)
{
    const LinearColor grey { 0.5, 0.5, 0.5 };
    const UnitNormal off = unit(0.35, -0.35, 1); // turned away from the mirror direction
    const double smoothAtMirror = lightMaterial(grey, HALFWAY, 0.0, 0.2, 0.0, LIGHT).red;
    const double roughAtMirror = lightMaterial(grey, HALFWAY, 0.0, 1.0, 0.0, LIGHT).red;
    const double smoothOff = lightMaterial(grey, off, 0.0, 0.2, 0.0, LIGHT).red;
    const double roughOff = lightMaterial(grey, off, 0.0, 1.0, 0.0, LIGHT).red;
    EXPECT_GT(smoothAtMirror, 5 * roughAtMirror) << "a bright, narrow highlight";
    EXPECT_LT(smoothOff, roughOff) << "and little light beside it";

    // Roughness 0 is a perfect mirror: no highlight a normal can meet, and
    // no division by zero.
    const LinearColor mirror = lightMaterial(grey, HALFWAY, 0.0, 0.0, 1.0, LIGHT);
    EXPECT_EQ(mirror.red, 0.0);
}

TEST(MaterialLighting, OcclusionDarkensOnlyTheSkysLight)
{
    const LinearColor color { 0.8, 0.4, 0.2 };
    for (double metallic : { 0.0, 0.5, 1.0 }) {
        const UnitNormal n = unit(0.2, 0.1, 1);
        const LinearColor open = lightMaterial(color, n, 1.0, 0.6, metallic, LIGHT);
        const LinearColor half = lightMaterial(color, n, 0.5, 0.6, metallic, LIGHT);
        const LinearColor closed = lightMaterial(color, n, 0.0, 0.6, metallic, LIGHT);
        // The sky lights the base colour, the diffuse and the metal's share.
        EXPECT_NEAR(open.red - closed.red, LIGHT.ambient * color.red, 1e-15);
        EXPECT_NEAR(open.blue - half.blue, LIGHT.ambient * 0.5 * color.blue, 1e-15);
        // Without the sky, occlusion changes nothing.
        const MaterialLight noSky { LIGHT.direction, LIGHT.intensity, 0.0 };
        EXPECT_EQ(lightMaterial(color, n, 0.0, 0.6, metallic, noSky).green,
            lightMaterial(color, n, 1.0, 0.6, metallic, noSky).green);
    }
    // A surface turned from the light gets the sky's light alone.
    const LinearColor away = lightMaterial(color, unit(3, -3, 1), 0.8, 0.4, 0.0, LIGHT);
    EXPECT_NEAR(away.red, LIGHT.ambient * 0.8 * color.red, 1e-15);
    EXPECT_NEAR(away.blue, LIGHT.ambient * 0.8 * color.blue, 1e-15);
}

} // namespace
