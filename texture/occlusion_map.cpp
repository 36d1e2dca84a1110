#include "texture/occlusion_map.h"

#include <cmath>
#include <vector>

#include "texture/normal_map.h"
#include "texture/parallel.h"

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

// A cross product of a rise (at most 2 x 65535, to the point below every
// height) and a run (at most a side) is exact in 32 bits.
static_assert(
    (int64_t)2 * 65535 * MAX_TEXTURE_SIDE < ((int64_t)1 << 31), "slopes compare in 32 bits");

// The buffers of a thread's lines: `together` lines of heights, and for one
// line at a time its heights the other way round, the steps to its horizons
// and its hull, whose points are places along the line, counted on past its
// end, and heights.
struct LineBuffers {
    std::vector<int32_t> lines;
    std::vector<int32_t> reversed;
    std::vector<int32_t> runs;
    std::vector<int32_t> hull;
};

// This thread's line buffers, sized for `together` lines of `side` points.
// Kept from one call to the next, so that a window redrawing the map of a
// changing texture allocates nothing once the first map is made.
LineBuffers& lineBuffers(int32_t together, int32_t side)
{
    static thread_local LineBuffers buffers;
    buffers.lines.resize((size_t)together * side);
    buffers.reversed.resize((size_t)side);
    buffers.runs.resize((size_t)side);
    buffers.hull.resize((size_t)2 * (side + 2));
    return buffers;
}

// Turns the heights of a line's n points, in the order of its direction,
// into their open sky, in place. Swept backwards, the upper convex hull of
// the points passed holds the points ahead of the one at hand, and the
// steepest of them is on it. The line is a loop on the torus, so the sweep
// starts at its highest point m and goes once round, back to m: every point
// past the next m ahead stands no higher than m and further away, so it
// never rises more steeply than m does (and where m does not rise, the sky
// is open). The slopes are compared exactly, as integer cross products, so
// which of equal slopes wins does not matter: each is the same fraction.
void lineSkies(int32_t* line, int32_t n, double scale, int32_t* runs, int32_t* hull)
{
    // The highest height first, in a loop that runs many points at a time,
    // then the first point at it.
    int32_t peak = line[0];
    for (int32_t i = 1; i < n; ++i)
        peak = line[i] > peak ? line[i] : peak;
    int32_t highest = 0;
    while (line[highest] != peak)
        ++highest;
    // m itself, one lap on: for m it is its own twin, which rises by 0. The
    // nearest point of the hull is kept apart from the rest; `top` is the
    // next, a place and a height, and the last is a point lower than any,
    // which is never steeper than m and so keeps m, and itself, on the hull.
    int32_t nearAt = highest + n;
    int32_t nearHeight = line[highest];
    int32_t* top = hull;
    top[0] = highest + n + 1;
    top[1] = -65535;
    // Once round: the points after m in the buffer, then those up to it.
    for (int32_t part = 0; part < 2; ++part) {
        const int32_t offset = part == 0 ? n : 0;
        const int32_t last = part == 0 ? n : highest;
        for (int32_t at = part == 0 ? highest + n - 1 : n - 1; at >= last; --at) {
            const int32_t height = line[at - offset];
            // Off the hull goes every point on or below the segment from this
            // one to the point after it: then the nearest point left is the
            // steepest.
            while ((top[1] - height) * (nearAt - at) >= (nearHeight - height) * (top[0] - at)) {
                nearAt = top[0];
                nearHeight = top[1];
                top -= 2;
            }
            const int32_t rise = nearHeight - height;
            line[at - offset] = rise > 0 ? rise : 0;
            runs[at - offset] = nearAt - at;
            top += 2;
            top[0] = nearAt;
            top[1] = nearHeight;
            nearAt = at;
            nearHeight = height;
        }
    }
    // A rise of 0 gives a slope of 0 and a sky of exactly 1: FULL_SKY.
    for (int32_t i = 0; i < n; ++i) {
        const double s = (double)line[i] / (double)runs[i] * scale;
        line[i] = (int32_t)(1.0 / (1.0 + s * s) * (double)FULL_SKY + 0.5);
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
const int32_t STEPS_AHEAD = 16;

// The pixel at step i of the group's line b is reached by stepping its start
// i times and moving b lines over; `visit(b, i, index)` is called step by
// step, the group's LINES lines side by side, while the pixels STEPS_AHEAD
// steps on are fetched from `memory` into the cache.
template <int32_t LINES, class T, class Visit>
void visitGroup(
    int32_t side, Direction d, const GroupStart& start, const T* memory, const Visit& visit)
{
    const int32_t mask = side - 1;
    int32_t x = start.x;
    int32_t y = start.y;
    int32_t aheadX = (x + STEPS_AHEAD * d.dx) & mask;
    int32_t aheadY = (y + STEPS_AHEAD * d.dy) & mask;
    for (int32_t i = 0; i < side; ++i) {
        const T* const aheadRow = memory + (size_t)aheadY * side;
        __builtin_prefetch(aheadRow + aheadX);
        if (start.inARow) {
            __builtin_prefetch(aheadRow + ((aheadX + LINES - 1) & mask));
            for (int32_t b = 0; b < LINES; ++b)
                visit(b, i, (size_t)y * side + ((x + b) & mask));
        } else
            for (int32_t b = 0; b < LINES; ++b)
                visit(b, i, (size_t)((y + b) & mask) * side + x);
        x = (x + d.dx) & mask;
        y = (y + d.dy) & mask;
        aheadX = (aheadX + d.dx) & mask;
        aheadY = (aheadY + d.dy) & mask;
    }
}

// Adds the open sky of a direction and of its opposite to the sums of the
// pixels on its lines [groupBegin, groupEnd) x LINES; the first pair sets
// them. Backwards, a line is its points from the last to the first: the same
// loop round the torus, started one point along.
template <int32_t LINES, class Q>
void addDirectionPair(const uint16_t* levels, int32_t side, Direction d, double scale, bool first,
    int32_t groupBegin, int32_t groupEnd, Q* sums)
{
    LineBuffers& buffers = lineBuffers(LINES, side);
    int32_t* const line = buffers.lines.data();
    int32_t* const reversed = buffers.reversed.data();
    for (int32_t group = groupBegin; group < groupEnd; ++group) {
        const GroupStart start = groupStart(d, side, group * LINES);
        visitGroup<LINES>(side, d, start, levels, [&](int32_t b, int32_t i, size_t index) {
            line[(size_t)b * side + i] = (int32_t)levels[index];
        });
        for (int32_t b = 0; b < LINES; ++b) {
            int32_t* const forwards = line + (size_t)b * side;
            for (int32_t i = 0; i < side; ++i)
                reversed[side - 1 - i] = forwards[i];
            lineSkies(forwards, side, scale, buffers.runs.data(), buffers.hull.data());
            lineSkies(reversed, side, scale, buffers.runs.data(), buffers.hull.data());
            for (int32_t i = 0; i < side; ++i)
                forwards[i] += reversed[side - 1 - i];
        }
        if (first)
            visitGroup<LINES>(side, d, start, sums, [&](int32_t b, int32_t i, size_t index) {
                sums[index] = (Q)line[(size_t)b * side + i];
            });
        else
            visitGroup<LINES>(side, d, start, sums, [&](int32_t b, int32_t i, size_t index) {
                sums[index] += (Q)line[(size_t)b * side + i];
            });
    }
}

// This thread's levels of a call's heights, worked out once rather than
// once per direction, and kept for the next call like the line buffers.
std::vector<uint16_t>& heightLevels(size_t pixels)
{
    static thread_local std::vector<uint16_t> levels;
    levels.resize(pixels);
    return levels;
}

// The mean of a pixel's sixteen skies, sum ÷ 2^28, on the output's levels:
// (int)(mean × MAX + 0.5), worked out in integers, where it is exact.
template <class Q> inline Q occlusionGrey(Q sum)
{
    const uint64_t level
        = ((uint64_t)sum * Depth<Q>::MAX + ((uint64_t)1 << (SUM_BITS - 1))) >> SUM_BITS;
    return greyOf<Q>(level);
}

} // namespace

template <class P, class Q>
void generateOcclusionMap(const P* heights, int32_t side, double relief, Q* occlusion)
{
    const size_t pixels = pixelCount(side);
    uint16_t* const levels = heightLevels(pixels).data();
    forEachRange(side, pixels, [&](int32_t begin, int32_t end) {
        const size_t last = (size_t)end * side;
        for (size_t i = (size_t)begin * side; i < last; ++i)
            levels[i] = (uint16_t)heightLevel(heights[i]);
    });
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
                    levels, side, d, scale, k == 0, begin, end, occlusion);
            });
        else
            addDirectionPair<1>(levels, side, d, scale, k == 0, 0, side, occlusion);
    }
    forEachRange(side, pixels, [&](int32_t begin, int32_t end) {
        const size_t last = (size_t)end * side;
        for (size_t i = (size_t)begin * side; i < last; ++i)
            occlusion[i] = occlusionGrey(occlusion[i]);
    });
}

// Heights of either depth give an occlusion map of either depth.
// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_OCCLUSION_MAPS(P)                                                                  \
    template void generateOcclusionMap(const P*, int32_t, double, Pixel*);                         \
    template void generateOcclusionMap(const P*, int32_t, double, DeepPixel*);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_OCCLUSION_MAPS)
