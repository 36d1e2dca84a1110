#include "texture/occlusion_map.h"

#include <cmath>

#include "texture/line_horizons.h"
#include "texture/normal_map.h"
#include "texture/parallel.h"
#include "texture/texture_memory.h"

namespace {

struct Direction {
    int32_t dx;
    int32_t dy;
};

// One of each pair of opposite directions: d and -d run along the same
// lines, the other way round, so a line's heights are read once for both.
// The order they are worked in does not change the sums.
const int32_t DIRECTION_PAIRS = OCCLUSION_DIRECTIONS / 2;
const Direction DIRECTIONS[DIRECTION_PAIRS]
    = { { 1, 0 }, { 0, 1 }, { 1, 1 }, { 1, -1 }, { 1, 2 }, { 1, -2 }, { 2, 1 }, { 2, -1 } };

// A direction's open sky is summed as an integer count of 2^-24: sixteen of
// them fit in the 32 bits of a Pixel, and integers add up to the same sum in
// any order: the two of a pair, at most 2^25, too.
const uint32_t SKY_BITS = 24;
const uint32_t FULL_SKY = 1u << SKY_BITS;
const uint32_t SUM_BITS = SKY_BITS + 4; // 16 directions
static_assert(1u << 4 == (uint32_t)OCCLUSION_DIRECTIONS, "the mean divides by a power of two");

// Lines worked side by side: at each step their pixels lie next to one
// another in a row (a row apart for the rows themselves), so they share
// cache lines and pages.
const int32_t LINES_TOGETHER = 8;

// The open sky of a rise over a run: a rise of 0 or less gives a slope of 0
// and a sky of exactly 1, FULL_SKY.
inline int32_t openSky(int32_t rise, int32_t run, double scale)
{
    const double s = (double)(rise > 0 ? rise : 0) / (double)run * scale;
    return (int32_t)(1.0 / (1.0 + s * s) * (double)FULL_SKY + 0.5);
}

// Writes over the first lap of the heights of line b of `room`, from the
// horizons its sweep left as line k of those swept together, each point's
// open sky both ways.
void writeLineSkies(LineRoom& room, int32_t b, int32_t k, int32_t highest, double scale)
{
    const int32_t n = room.n;
    const int32_t* const h = room.horizons.data() + horizonAt(k * lineStride(n), LOOKING_ON);
    int32_t* const skies = room.places.data() + b * lineStride(n);
    const ptrdiff_t lap = HORIZONS_SIZE * (ptrdiff_t)n;
    const ptrdiff_t ON = horizonAt(0, LOOKING_ON), BACK = horizonAt(0, LOOKING_BACK);
    // A place's rise and run one way, and the sum of both ways' skies.
    auto sky = [scale](const int32_t* rise) { return openSky(rise[0], rise[1], scale); };
    for (int32_t i = 0; i < highest; ++i) {
        const int32_t* const both = h + HORIZONS_SIZE * i + lap;
        skies[i] = sky(both + ON) + sky(both + BACK);
    }
    const int32_t* const m = h + HORIZONS_SIZE * highest;
    skies[highest] = sky(m + ON) + sky(m + lap + BACK);
    for (int32_t i = highest + 1; i < n; ++i) {
        const int32_t* const both = h + HORIZONS_SIZE * i;
        skies[i] = sky(both + ON) + sky(both + BACK);
    }
}

// Where a group of a direction's lines starts, and how its lines lie beside
// one another: next to each other in a row where they can, so that at each
// step the group reads and writes one run of memory. Every line has period
// `side`. When dy is odd a line crosses row 0 once, so the lines start at
// (j, 0); when it is ±2 (dx odd) a line crosses row 0 or row 1 twice, half
// a side apart, so they start at (j mod side/2, j div side/2); the rows, dy
// 0, start at (0, j) one above another.
struct GroupStart {
    int32_t x;
    int32_t y;
    bool inARow; // the lines beside one another in a row, else in a column
};

GroupStart groupStart(Direction d, int32_t side, int32_t first)
{
    if (d.dy == 0)
        return GroupStart { 0, first, false };
    if (d.dy & 1)
        return GroupStart { first, 0, true };
    const int32_t half = side > 1 ? side / 2 : 1; // side 1: the one pixel
    return GroupStart { first % half, first / half, true };
}

// How far ahead of a step its memory is asked for.
const int32_t STEPS_AHEAD = 32;

// Calls visit(pixel, place) for every pixel of a group's LINES lines and
// the place of line b's point i in the group's buffer, b × stride + i. Rows
// are worked along, other lines step by step, their pixels side by side in
// a row, those STEPS_AHEAD steps on fetched from `memory` into the cache
// meanwhile.
template <int32_t LINES, class T, class Visit>
void visitGroup(int32_t side, Direction d, const GroupStart& start, T* memory, const Visit& visit)
{
    const ptrdiff_t stride = lineStride(side);
    if (!start.inARow) {
        for (int32_t b = 0; b < LINES; ++b) {
            T* const row = memory + (size_t)(start.y + b) * side;
            for (int32_t i = 0; i < side; ++i)
                visit(row[i], b * stride + i);
        }
        return;
    }
    const int32_t mask = side - 1;
    int32_t x = start.x;
    int32_t y = start.y;
    int32_t aheadX = (x + STEPS_AHEAD * d.dx) & mask;
    int32_t aheadY = (y + STEPS_AHEAD * d.dy) & mask;
    for (int32_t i = 0; i < side; ++i) {
        T* const aheadRow = memory + (size_t)aheadY * side;
        __builtin_prefetch(aheadRow + aheadX);
        __builtin_prefetch(aheadRow + ((aheadX + LINES - 1) & mask));
        T* const row = memory + (size_t)y * side;
        if (x <= side - LINES) // the step's pixels one run of the row
            for (int32_t b = 0; b < LINES; ++b)
                visit(row[x + b], b * stride + i);
        else
            for (int32_t b = 0; b < LINES; ++b)
                visit(row[(x + b) & mask], b * stride + i);
        x = (x + d.dx) & mask;
        y = (y + d.dy) & mask;
        aheadX = (aheadX + d.dx) & mask;
        aheadY = (aheadY + d.dy) & mask;
    }
}

// A height's level: a level as it stands, a pixel's by the luma rule.
inline int32_t levelOf(uint16_t level)
{
    return level;
}
template <class P> inline int32_t levelOf(P pixel)
{
    return (int32_t)heightLevel(pixel);
}

// Adds the open sky of a direction and of its opposite to the sums of the
// pixels on its lines [groupBegin, groupEnd) x LINES; the first pair sets
// them.
template <int32_t LINES, class S, class Q>
void addDirectionPair(const S* heights, int32_t side, Direction d, double scale, bool first,
    int32_t groupBegin, int32_t groupEnd, Q* sums)
{
    LineRoom& room = lineRoom(LINES, side);
    int32_t* const lines = room.places.data();
    const int32_t AT_ONCE = LINES < LINES_SWEPT ? LINES : LINES_SWEPT;
    for (int32_t group = groupBegin; group < groupEnd; ++group) {
        const GroupStart start = groupStart(d, side, group * LINES);
        visitGroup<LINES>(side, d, start, heights,
            [&](const S& height, ptrdiff_t place) { lines[place] = levelOf(height); });
        for (int32_t b = 0; b < LINES; b += AT_ONCE) {
            int32_t highest[LINES_SWEPT];
            sweepLineHorizons<SWEEP_FAST>(room, b, AT_ONCE, highest);
            for (int32_t k = 0; k < AT_ONCE; ++k)
                writeLineSkies(room, b + k, k, highest[k], scale);
        }
        if (first)
            visitGroup<LINES>(
                side, d, start, sums, [&](Q& sum, ptrdiff_t place) { sum = (Q)lines[place]; });
        else
            visitGroup<LINES>(
                side, d, start, sums, [&](Q& sum, ptrdiff_t place) { sum += (Q)lines[place]; });
    }
}

// This thread's levels of a call's heights, worked out once rather than
// once per direction, and kept for the next call like the line buffers: in
// large pages, like the textures, since a large map's lines step from page
// to page. Null if the memory cannot be had.
struct LevelBuffer {
    uint16_t* levels = nullptr;
    size_t pixels = 0;
    LevelBuffer() = default;
    LevelBuffer(const LevelBuffer&) = delete;
    LevelBuffer& operator=(const LevelBuffer&) = delete;
    ~LevelBuffer() { freeTexture(levels, pixels); }
};

uint16_t* heightLevels(size_t pixels)
{
    static thread_local LevelBuffer buffer;
    if (buffer.pixels < pixels) {
        freeTexture(buffer.levels, buffer.pixels);
        buffer.levels = allocateTexture<uint16_t>(pixels);
        buffer.pixels = buffer.levels ? pixels : 0;
    }
    return buffer.levels;
}

// The mean of a pixel's sixteen skies, sum ÷ 2^28, on the output's levels:
// (int)(mean × MAX + 0.5), worked out in integers, where it is exact.
template <class Q> inline Q occlusionGrey(Q sum)
{
    const uint64_t level
        = ((uint64_t)sum * Depth<Q>::MAX + ((uint64_t)1 << (SUM_BITS - 1))) >> SUM_BITS;
    return greyOf<Q>(level);
}

// The occlusion of heights `source`, levels or pixels, into `occlusion`.
template <class S, class Q>
void occlusionFrom(const S* source, int32_t side, double relief, Q* occlusion)
{
    const size_t pixels = pixelCount(side);
    for (int32_t k = 0; k < DIRECTION_PAIRS; ++k) {
        const Direction d = DIRECTIONS[k];
        // Slopes in heights per texture width from levels per step.
        const double scale
            = relief * (double)side / (65535.0 * std::sqrt((double)(d.dx * d.dx + d.dy * d.dy)));
        // Lines crossing a row twice, half a side apart, fill a group only
        // when that half holds the group.
        if (side >= 2 * LINES_TOGETHER)
            forEachRange(side / LINES_TOGETHER, pixels, [&](int32_t begin, int32_t end) {
                addDirectionPair<LINES_TOGETHER>(
                    source, side, d, scale, k == 0, begin, end, occlusion);
            });
        else
            addDirectionPair<1>(source, side, d, scale, k == 0, 0, side, occlusion);
    }
    forEachRange(side, pixels, [&](int32_t begin, int32_t end) {
        const size_t last = (size_t)end * side;
        for (size_t i = (size_t)begin * side; i < last; ++i)
            occlusion[i] = occlusionGrey(occlusion[i]);
    });
}

} // namespace

template <class P, class Q>
void generateOcclusionMap(
    const P* heights, int32_t side, double relief, Q* occlusion, uint16_t* levels)
{
    const size_t pixels = pixelCount(side);
    uint16_t* const room = levels ? levels : heightLevels(pixels);
    if (!room) { // the same map, each level worked out once per direction
        occlusionFrom(heights, side, relief, occlusion);
        return;
    }
    forEachRange(side, pixels, [&](int32_t begin, int32_t end) {
        const size_t last = (size_t)end * side;
        for (size_t i = (size_t)begin * side; i < last; ++i)
            room[i] = (uint16_t)heightLevel(heights[i]);
    });
    occlusionFrom(room, side, relief, occlusion);
}

// Heights of either depth give an occlusion map of either depth.
// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_OCCLUSION_MAPS(P)                                                                  \
    template void generateOcclusionMap(const P*, int32_t, double, Pixel*, uint16_t*);              \
    template void generateOcclusionMap(const P*, int32_t, double, DeepPixel*, uint16_t*);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_OCCLUSION_MAPS)
