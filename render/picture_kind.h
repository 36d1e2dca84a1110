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
    PICTURE_MATERIAL, // colours, and beside them heights and normal map
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
    int32_t fileCount; // OUT, and a material's heights and normal map beside it
    int32_t passesBeforeWriting; // normal maps worked out between the steps and the write
    int32_t passesAmongWrites; // worked out as their files' turns come
    bool shapesNormalMap; // takes --relief and --normal-y
    bool takesHeightSlot; // takes --height-slot
};

// A row per kind, in the order of PictureKind. A material makes its heights
// and its normal map in turn, each just before its file is written; a
// normal map alone is made before its one write.
inline constexpr PictureKindRow PICTURE_KINDS[PICTURE_KIND_COUNT] = {
    // kind, option, replay depth, fixed bits, files, passes before and
    // among the writes, normal-map options, --height-slot
    { PICTURE_COLORS, nullptr, 0, 0, 1, 0, 0, false, false },
    { PICTURE_HEIGHTS, "--height", 16, 16, 1, 0, 0, false, false },
    { PICTURE_NORMAL_MAP, "--normal", 16, 0, 1, 1, 0, true, false },
    { PICTURE_MATERIAL, "--material", 16, 0, 3, 0, 2, true, true },
};

// The row of that kind: the table is read by kind, so its rows must stay in order.
constexpr const PictureKindRow& pictureKindRow(PictureKind kind)
{
    return PICTURE_KINDS[kind];
}
static_assert(pictureKindRow(PICTURE_COLORS).kind == PICTURE_COLORS
        && pictureKindRow(PICTURE_HEIGHTS).kind == PICTURE_HEIGHTS
        && pictureKindRow(PICTURE_NORMAL_MAP).kind == PICTURE_NORMAL_MAP
        && pictureKindRow(PICTURE_MATERIAL).kind == PICTURE_MATERIAL,
    "PICTURE_KINDS has its rows in the order of PictureKind");
