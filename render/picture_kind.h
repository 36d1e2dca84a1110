// The kinds of picture the renderer writes, and all that sets them apart,
// in one table: the option that asks for each, its files, the depth of its
// replay and the passes its progress line counts. The option rules, the
// render and the progress line read a kind's row rather than asking which
// kind it is.
#pragma once

#include <cstdint>

enum PictureKind {
    PICTURE_COLORS, // the slot's colours, the default
    PICTURE_HEIGHTS, // the slot's heights, a 16-bit grey PNG
    PICTURE_NORMAL_MAP, // the slot's normal map
    PICTURE_ROUGHNESS, // the slot's grey as a roughness map
    PICTURE_METALLIC, // the slot's grey as a metallic map
    PICTURE_OCCLUSION, // the occlusion map of the slot's heights
    PICTURE_MATERIAL, // colours, and beside them every map, or an engine's
    PICTURE_KIND_COUNT
};

struct PictureKindRow {
    PictureKind kind;
    const char* option; // the flag that asks for it; null for the default
    // 16 when it comes from a depth-16 replay whatever --depth says; 0 when
    // the replay is at --depth.
    int32_t replayDepth;
    // The bits per channel it is always written with, into a PNG; 0 when
    // --bits and the format choose.
    int32_t fixedBits;
    // OUT, and the most files a material writes beside it (an engine's
    // material writes fewer, see material_engine.h).
    int32_t fileCount;
    int32_t passesBeforeWriting; // normal maps worked out between the steps and the write
    int32_t passesAmongWrites; // worked out as their files' turns come
    bool takesRelief; // the heights' relief shapes it: --relief
    bool takesNormalY; // it holds a normal map: --normal-y
    bool takesHeightSlot; // takes --height-slot and --for
    // A grey map, 8 bits per channel unless --bits 16, whatever --depth says.
    bool greyMap;
};

// A row per kind, in the order of PictureKind. A material makes its maps in
// turn, each just before its file is written; a normal map alone is made
// before its one write, as is an occlusion map; roughness and metallic
// maps alone count no pass of their own, a moment's work before the write.
inline constexpr PictureKindRow PICTURE_KINDS[PICTURE_KIND_COUNT] = {
    // kind, option, replay depth, fixed bits, files, passes before and
    // among the writes, --relief, --normal-y, --height-slot, grey map
    { PICTURE_COLORS, nullptr, 0, 0, 1, 0, 0, false, false, false, false },
    { PICTURE_HEIGHTS, "--height", 16, 16, 1, 0, 0, false, false, false, false },
    { PICTURE_NORMAL_MAP, "--normal", 16, 0, 1, 1, 0, true, true, false, false },
    { PICTURE_ROUGHNESS, "--roughness", 16, 0, 1, 0, 0, false, false, false, true },
    { PICTURE_METALLIC, "--metallic", 16, 0, 1, 0, 0, false, false, false, true },
    { PICTURE_OCCLUSION, "--occlusion", 16, 0, 1, 1, 0, true, false, false, true },
    // The normal map, the occlusion and the heights are the passes worth counting.
    { PICTURE_MATERIAL, "--material", 16, 0, 6, 0, 3, true, true, true, false },
};

// The row of that kind: the table is read by kind, so its rows must stay in order.
constexpr const PictureKindRow& pictureKindRow(PictureKind kind)
{
    return PICTURE_KINDS[kind];
}
static_assert(pictureKindRow(PICTURE_COLORS).kind == PICTURE_COLORS
        && pictureKindRow(PICTURE_HEIGHTS).kind == PICTURE_HEIGHTS
        && pictureKindRow(PICTURE_NORMAL_MAP).kind == PICTURE_NORMAL_MAP
        && pictureKindRow(PICTURE_ROUGHNESS).kind == PICTURE_ROUGHNESS
        && pictureKindRow(PICTURE_METALLIC).kind == PICTURE_METALLIC
        && pictureKindRow(PICTURE_OCCLUSION).kind == PICTURE_OCCLUSION
        && pictureKindRow(PICTURE_MATERIAL).kind == PICTURE_MATERIAL,
    "PICTURE_KINDS has its rows in the order of PictureKind");
