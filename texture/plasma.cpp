// The plasma: midpoint displacement over squares that halve down to side 2,
// at either depth (see depth.h). The squares of side 2k and more (k = side /
// 256) are the 256 x 256 plasma's own squares scaled k times: they draw
// their offsets from the random generator in its order, depth first, so
// every side draws the same 65,535 numbers and holds the 256 x 256 plasma at
// every k-th pixel. The finer levels, which only larger sides have, fill the
// lattice between those pixels a level at a time, centres first and then
// edges, each from the average of its four neighbours rounded to nearest and
// an offset centred on zero that a hash of the pixel and of the seed the call
// began with gives. Rounding and centring leave the fine levels no drift
// towards either end of the lattice, and edges that average the centres on
// both sides leave no crease along its lines; both passes split across
// threads, since no value a pass writes is read by the same pass. At 16
// bits every offset counts 257 levels (see displacedLevel).
#include <algorithm>
#include <climits>

#include "texture/depth.h"
#include "texture/generators.h"
#include "texture/parallel.h"
#include "texture/random.h"
#include "texture/texture.h"

namespace {

// A texture as the plasma addresses it: coordinates wrap to the side. With
// FIXED_SIDE other than 0 the side is that constant, which spares the
// window's plasma a tenth of its work; with 0 it is any side.
template <class P, int32_t FIXED_SIDE> struct Grid {
    P* pixels;
    int32_t anySide;
    int32_t side() const { return FIXED_SIDE ? FIXED_SIDE : anySide; }
    int32_t scale() const { return sideScale(side()); }
    uint32_t mask() const { return (uint32_t)side() - 1; }
    uint32_t shift() const { return (uint32_t)__builtin_ctz((uint32_t)side()); }

    // The pixel at (x, y), both wrapped to the texture.
    P* cellAt(uint32_t x, uint32_t y) const
    {
        return pixels + ((size_t)(y & mask()) << shift()) + (x & mask());
    }
    // The level of the pixel at (x, y), read from its blue channel.
    int32_t levelAt(uint32_t x, uint32_t y) const { return (int32_t)channelOf(*cellAt(x, y), 0); }
};

// A product saturated to 0 .. the largest int; a negative one displaces nothing.
inline int32_t amplitudeOf(int64_t product)
{
    return (int32_t)std::clamp(product, (int64_t)0, (int64_t)INT32_MAX);
}

// The plasma's rule at every depth: an offset, drawn for a coarse square or
// hashed for a fine level, is worked out from an amplitude on the 0..255
// scale at every depth, and each of its steps counts most / 255 levels (1 at
// 8 bits, 257 at 16) added to the mean, the sum clamped to 0..most. So both
// depths take the same offsets, and a 16-bit plasma is the 8-bit one's
// cloud with 257 times finer levels, not another cloud.
inline int64_t displacedLevel(int64_t mean, int64_t offset, int64_t most)
{
    return std::clamp(mean + offset * (most / 255), (int64_t)0, most);
}

template <class P, int32_t FIXED_SIDE>
void subdivide(
    const Grid<P, FIXED_SIDE>& grid, int32_t x, int32_t y, int32_t size, int32_t variation)
{
    // A square larger than the texture would only cover it again.
    size = std::min(size, grid.side());
    int32_t half = size / 2;
    // Unsigned coordinates wrap instead of overflowing for any argument.
    uint32_t left = (uint32_t)x & grid.mask();
    uint32_t top = (uint32_t)y & grid.mask();
    uint32_t right = left + (uint32_t)size;
    uint32_t bottom = top + (uint32_t)size;
    uint32_t middleX = left + (uint32_t)half;
    uint32_t middleY = top + (uint32_t)half;

    int32_t a = grid.levelAt(left, top);
    int32_t b = grid.levelAt(right, top);
    int32_t c = grid.levelAt(left, bottom);
    int32_t d = grid.levelAt(right, bottom);
    // 64 bits hold the product of any two ints.
    int32_t amplitude = amplitudeOf((int64_t)(size / grid.scale()) * variation);
    const int32_t most = (int32_t)Depth<P>::MAX;

    P* cell = grid.cellAt(middleX, top);
    if (*cell == Depth<P>::EMPTY)
        *cell = greyOf<P>((uint32_t)plasmaEdgeValue(a, b, amplitude, most));
    cell = grid.cellAt(left, middleY);
    if (*cell == Depth<P>::EMPTY)
        *cell = greyOf<P>((uint32_t)plasmaEdgeValue(a, c, amplitude, most));
    cell = grid.cellAt(right, middleY);
    if (*cell == Depth<P>::EMPTY)
        *cell = greyOf<P>((uint32_t)plasmaEdgeValue(b, d, amplitude, most));
    cell = grid.cellAt(middleX, bottom);
    if (*cell == Depth<P>::EMPTY)
        *cell = greyOf<P>((uint32_t)plasmaEdgeValue(c, d, amplitude, most));
    *grid.cellAt(middleX, middleY)
        = greyOf<P>((uint32_t)plasmaCentreValue(a, b, c, d, amplitude, most));

    if (half >= 2 * grid.scale()) {
        int32_t l = (int32_t)left, t = (int32_t)top, mx = (int32_t)middleX, my = (int32_t)middleY;
        subdivide(grid, l, t, half, variation);
        subdivide(grid, mx, t, half, variation);
        subdivide(grid, l, my, half, variation);
        subdivide(grid, mx, my, half, variation);
    }
}

// One fine level: squares of side `size` whose corners are all known.
template <class P> struct FineLevel {
    Grid<P, 0> grid;
    uint32_t size;
    uint32_t half;
    uint64_t spread; // offsets are 0 .. spread - 1 before centring
    int64_t centre; // subtracted from them: spread = 2 * centre + 1
    uint64_t seedBits; // the call's first seed, shifted above the pixel index
};

// The rounded average of four levels displaced by the hash of the pixel at
// (x, y), as a grey.
template <class P>
inline P fineValue(const FineLevel<P>& level, uint64_t sum, uint32_t x, uint32_t y)
{
    uint64_t index = ((uint64_t)y << level.grid.shift()) + x;
    int64_t offset = (int64_t)(mix64(level.seedBits | index) % level.spread) - level.centre;
    return greyOf<P>(
        (uint64_t)displacedLevel((int64_t)((sum + 2) >> 2), offset, (int64_t)Depth<P>::MAX));
}

// The level of a pixel, from its blue channel.
template <class P> inline uint64_t levelOf(P pixel)
{
    return pixel & Depth<P>::MAX;
}

// Row y of the texture, wrapped.
template <class P> inline P* rowAt(const Grid<P, 0>& grid, uint32_t y)
{
    return grid.cellAt(0, y);
}

// The centres of the squares in rows [firstRow, endRow) of the level: each
// from its square's four corners. Only the last centre of a row reaches
// past the right edge, so columns wrap by a mask and rows are looked up once.
template <class P> void fillFineCentres(const FineLevel<P>& level, int32_t firstRow, int32_t endRow)
{
    const Grid<P, 0>& grid = level.grid;
    const uint32_t half = level.half;
    const uint32_t mask = grid.mask();
    for (int32_t row = firstRow; row < endRow; ++row) {
        uint32_t y = (uint32_t)row * level.size + half;
        const P* above = rowAt(grid, y - half);
        const P* below = rowAt(grid, y + half);
        P* out = rowAt(grid, y);
        for (uint32_t x = half; x < (uint32_t)grid.side(); x += level.size) {
            uint32_t left = x - half, right = (x + half) & mask;
            uint64_t sum = levelOf(above[left]) + levelOf(above[right]) + levelOf(below[left])
                + levelOf(below[right]);
            out[x] = fineValue(level, sum, x, y);
        }
    }
}

// The edge midpoints on the lines [firstLine, endLine) of the level, lines
// `half` apart: on a line through corners the midpoints between them, on a
// line through centres the points between those. Each is the average of the
// two corners and the two centres beside it.
template <class P> void fillFineEdges(const FineLevel<P>& level, int32_t firstLine, int32_t endLine)
{
    const Grid<P, 0>& grid = level.grid;
    const uint32_t half = level.half;
    const uint32_t mask = grid.mask();
    for (int32_t line = firstLine; line < endLine; ++line) {
        uint32_t y = (uint32_t)line * half;
        const P* above = rowAt(grid, y - half);
        const P* below = rowAt(grid, y + half);
        P* out = rowAt(grid, y);
        uint32_t first = (line & 1) ? 0 : half;
        for (uint32_t x = first; x < (uint32_t)grid.side(); x += level.size) {
            uint64_t sum = levelOf(out[(x - half) & mask]) + levelOf(out[(x + half) & mask])
                + levelOf(above[x]) + levelOf(below[x]);
            out[x] = fineValue(level, sum, x, y);
        }
    }
}

// Fills the levels of squares of side k, k / 2, ..., 2 below the lattice
// of the 256 x 256 plasma's pixels.
template <class P> void fillFineLevels(const Grid<P, 0>& grid, int32_t variation, uint64_t seedBits)
{
    const int32_t side = grid.side();
    const int32_t scale = grid.scale();
    for (int32_t size = scale; size >= 2; size /= 2) {
        int64_t amplitude = (int64_t)amplitudeOf((int64_t)size * variation / scale);
        int64_t centre = amplitude / 2;
        FineLevel<P> level { grid, (uint32_t)size, (uint32_t)size / 2, (uint64_t)(2 * centre + 1),
            centre, seedBits };
        forEachRange(side / size, pixelCount(side),
            [&](int32_t begin, int32_t end) { fillFineCentres(level, begin, end); });
        forEachRange(side / level.half, pixelCount(side),
            [&](int32_t begin, int32_t end) { fillFineEdges(level, begin, end); });
    }
}

} // namespace

namespace {

template <class P, int32_t FIXED_SIDE> void plasma(P* pixels, int32_t side, int32_t variation)
{
    uint64_t seedBits = (uint64_t)randomSeed << 32;
    pixels[0] = greyOf<P>(127 * Depth<P>::UNIT);
    subdivide(Grid<P, FIXED_SIDE> { pixels, side }, 0, 0, side, variation);
    fillFineLevels(Grid<P, 0> { pixels, side }, variation, seedBits);
}

} // namespace

template <class P> void generatePlasma(P* pixels, int32_t side, int32_t variation)
{
    if (side == TEXTURE_SIZE)
        plasma<P, TEXTURE_SIZE>(pixels, side, variation);
    else
        plasma<P, 0>(pixels, side, variation);
}

template <class P> void generatePlasmaForAnySide(P* pixels, int32_t side, int32_t variation)
{
    plasma<P, 0>(pixels, side, variation);
}

template <class P>
void plasmaSubdivide(P* pixels, int32_t side, int32_t x, int32_t y, int32_t size, int32_t variation)
{
    if (side == TEXTURE_SIZE)
        subdivide(Grid<P, TEXTURE_SIZE> { pixels, side }, x, y, size, variation);
    else
        subdivide(Grid<P, 0> { pixels, side }, x, y, size, variation);
}

// Displaces a mean level by a random offset in -(amplitude / 2) ..
// amplitude - 1 - (amplitude / 2). A negative amplitude counts as 0: no
// offset and no random number.
static int32_t displaceLevel(int64_t mean, int32_t amplitude, int32_t most)
{
    if (amplitude < 0)
        amplitude = 0;
    int64_t offset = (int64_t)randomNumber((uint32_t)amplitude) - amplitude / 2;
    return (int32_t)displacedLevel(mean, offset, most);
}

int32_t plasmaEdgeValue(int32_t a, int32_t b, int32_t amplitude, int32_t most)
{
    return displaceLevel(((int64_t)a + b) / 2, amplitude, most);
}

int32_t plasmaCentreValue(
    int32_t a, int32_t b, int32_t c, int32_t d, int32_t amplitude, int32_t most)
{
    return displaceLevel(((int64_t)a + b + c + d) / 4, amplitude, most);
}

// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_PLASMA(P)                                                                          \
    template void generatePlasma(P*, int32_t, int32_t);                                            \
    template void generatePlasmaForAnySide(P*, int32_t, int32_t);                                  \
    template void plasmaSubdivide(P*, int32_t, int32_t, int32_t, int32_t, int32_t);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_PLASMA)
