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

// The order the directions are worked in; the sums do not depend on it.
const Direction DIRECTIONS[OCCLUSION_DIRECTIONS]
    = { { 1, 0 }, { -1, 0 }, { 0, 1 }, { 0, -1 }, { 1, 1 }, { 1, -1 }, { -1, 1 }, { -1, -1 },
          { 1, 2 }, { 1, -2 }, { -1, 2 }, { -1, -2 }, { 2, 1 }, { 2, -1 }, { -2, 1 }, { -2, -1 } };

// A direction's open sky is summed as an integer count of 2^-24: sixteen of
// them fit in the 32 bits of a Pixel, and integers add up to the same sum in
// any order.
const uint32_t SKY_BITS = 24;
const uint32_t FULL_SKY = 1u << SKY_BITS;
const uint32_t SUM_BITS = SKY_BITS + 4; // 16 directions
static_assert(1u << 4 == (uint32_t)OCCLUSION_DIRECTIONS, "the mean divides by a power of two");

// Lines worked side by side: at each step their pixels lie next to one
// another or a row apart, so they share cache lines and pages.
const int32_t LINES_TOGETHER = 8;

struct HullPoint {
    int32_t at; // the point's place along the line, counted over two laps
    int32_t height;
};

// Turns the heights of a line's n points, in the order of its direction,
// into their open sky, in place. The line is a loop on the torus; swept
// backwards twice round it, the upper convex hull of the points passed holds
// every point ahead of the one at hand, the first lap only filling it. A
// point from the first lap stands a whole period further away than its
// twin, so it never gives a steeper positive slope, and the slopes are
// compared exactly, so which of equal slopes wins does not matter. `hull`
// holds 2n points.
void lineSkies(int32_t* line, int32_t n, double scale, HullPoint* hull)
{
    int32_t size = 0;
    for (int32_t at = 2 * n - 1; at >= 0; --at) {
        const int32_t height = line[at & (n - 1)];
        // Off the hull goes every point on or below the segment from this one
        // to the point after it: then the nearest point left is the steepest.
        while (size >= 2) {
            const HullPoint near = hull[size - 1];
            const HullPoint far = hull[size - 2];
            if ((int64_t)(far.height - height) * (near.at - at)
                < (int64_t)(near.height - height) * (far.at - at))
                break;
            --size;
        }
        if (at < n) {
            uint32_t sky = FULL_SKY;
            if (size > 0 && hull[size - 1].height > height) {
                const double q
                    = (double)(hull[size - 1].height - height) / (double)(hull[size - 1].at - at);
                const double s = q * scale;
                sky = (uint32_t)(1.0 / (1.0 + s * s) * (double)FULL_SKY + 0.5);
            }
            line[at] = (int32_t)sky;
        }
        hull[size++] = HullPoint { at, height };
    }
}

// Where a direction's lines start, and how they lie beside one another.
// Every line has period `side` and crosses the first column once when dx is
// odd, else the first row once: line j starts at (0, j) or (j, 0).
struct LineLayout {
    Direction step; // along a line
    int32_t besideX; // from one line to the next, at the same step
    int32_t besideY;
};

LineLayout layoutOf(Direction d)
{
    if (d.dx & 1)
        return LineLayout { d, 0, 1 };
    return LineLayout { d, 1, 0 };
}

// The pixel at step i of the line `first + b` is reached by stepping the
// group's first line i times and moving b lines over; `visit(b, i, index)`
// is called step by step, the group's lines side by side.
template <class Visit>
void visitGroup(
    int32_t side, const LineLayout& layout, int32_t first, int32_t lines, const Visit& visit)
{
    const int32_t mask = side - 1;
    int32_t x = layout.besideX * first;
    int32_t y = layout.besideY * first;
    for (int32_t i = 0; i < side; ++i) {
        for (int32_t b = 0; b < lines; ++b) {
            const int32_t px = (x + b * layout.besideX) & mask;
            const int32_t py = (y + b * layout.besideY) & mask;
            visit(b, i, (size_t)py * side + px);
        }
        x = (x + layout.step.dx) & mask;
        y = (y + layout.step.dy) & mask;
    }
}

// Adds one direction's open sky to the sums of the pixels on its lines
// [groupBegin, groupEnd) x `together`; the first direction sets them.
template <class P, class Q>
void addDirection(const P* heights, int32_t side, Direction d, double scale, bool first,
    int32_t together, int32_t groupBegin, int32_t groupEnd, Q* sums)
{
    // Kept by each thread from one call to the next, so that a window
    // redrawing the map of a changing texture allocates nothing once the
    // first map is made.
    static thread_local std::vector<int32_t> lines;
    static thread_local std::vector<HullPoint> hull;
    lines.resize((size_t)together * side);
    hull.resize((size_t)2 * side);
    const LineLayout layout = layoutOf(d);
    int32_t* const line = lines.data();
    for (int32_t group = groupBegin; group < groupEnd; ++group) {
        const int32_t firstLine = group * together;
        visitGroup(side, layout, firstLine, together, [&](int32_t b, int32_t i, size_t index) {
            line[(size_t)b * side + i] = (int32_t)heightLevel(heights[index]);
        });
        for (int32_t b = 0; b < together; ++b)
            lineSkies(line + (size_t)b * side, side, scale, hull.data());
        if (first)
            visitGroup(side, layout, firstLine, together, [&](int32_t b, int32_t i, size_t index) {
                sums[index] = (Q)line[(size_t)b * side + i];
            });
        else
            visitGroup(side, layout, firstLine, together, [&](int32_t b, int32_t i, size_t index) {
                sums[index] += (Q)line[(size_t)b * side + i];
            });
    }
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
    const int32_t together = side < LINES_TOGETHER ? side : LINES_TOGETHER;
    const int32_t groups = side / together;
    for (int32_t k = 0; k < OCCLUSION_DIRECTIONS; ++k) {
        const Direction d = DIRECTIONS[k];
        // Slopes in heights per texture width from levels per step.
        const double scale
            = relief * (double)side / (65535.0 * std::sqrt((double)(d.dx * d.dx + d.dy * d.dy)));
        forEachRange(groups, pixels, [&](int32_t begin, int32_t end) {
            addDirection(heights, side, d, scale, k == 0, together, begin, end, occlusion);
        });
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
