// The plasma: midpoint displacement over squares that halve down to side 2.
// The squares of side 2k and more (k = side / 256) are the 256 x 256
// plasma's own squares scaled k times: they draw their offsets from the
// random generator in its order, depth first, so every side draws the same
// 65,535 numbers and holds the 256 x 256 plasma at every k-th pixel. The
// finer squares, which only larger sides have, take their offsets from a
// hash of the pixel they write and of the seed the call began with; each
// depends only on coarser squares, so they go a level at a time, split
// across threads.
#include <algorithm>
#include <climits>

#include "texture/generators.h"
#include "texture/parallel.h"
#include "texture/random.h"
#include "texture/texture.h"

namespace {

// A texture as the plasma addresses it: coordinates wrap to the side. With
// FIXED_SIDE other than 0 the side is that constant, which spares the
// window's plasma a tenth of its work; with 0 it is any side.
template <int32_t FIXED_SIDE> struct Grid {
    Pixel* pixels;
    int32_t anySide;
    int32_t side() const { return FIXED_SIDE ? FIXED_SIDE : anySide; }
    int32_t scale() const { return sideScale(side()); }
    uint32_t mask() const { return (uint32_t)side() - 1; }
    uint32_t shift() const { return (uint32_t)__builtin_ctz((uint32_t)side()); }

    // The pixel at (x, y), both wrapped to the texture.
    Pixel* cellAt(uint32_t x, uint32_t y) const
    {
        return pixels + ((size_t)(y & mask()) << shift()) + (x & mask());
    }
    int32_t levelAt(uint32_t x, uint32_t y) const { return (int32_t)(*cellAt(x, y) & 0xFF); }
};

// A product saturated to 0 .. the largest int; a negative one displaces nothing.
inline int32_t amplitudeOf(int64_t product)
{
    return (int32_t)std::clamp(product, (int64_t)0, (int64_t)INT32_MAX);
}

template <int32_t FIXED_SIDE>
void subdivide(const Grid<FIXED_SIDE>& grid, int32_t x, int32_t y, int32_t size, int32_t variation)
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
    int32_t amplitude = amplitudeOf((int64_t)(size / grid.scale()) * variation);

    Pixel* cell = grid.cellAt(middleX, top);
    if (*cell == EMPTY_PIXEL)
        *cell = (Pixel)plasmaEdgeValue(a, b, amplitude) * 0x010101u;
    cell = grid.cellAt(left, middleY);
    if (*cell == EMPTY_PIXEL)
        *cell = (Pixel)plasmaEdgeValue(a, c, amplitude) * 0x010101u;
    cell = grid.cellAt(right, middleY);
    if (*cell == EMPTY_PIXEL)
        *cell = (Pixel)plasmaEdgeValue(b, d, amplitude) * 0x010101u;
    cell = grid.cellAt(middleX, bottom);
    if (*cell == EMPTY_PIXEL)
        *cell = (Pixel)plasmaEdgeValue(c, d, amplitude) * 0x010101u;
    *grid.cellAt(middleX, middleY) = (Pixel)plasmaCentreValue(a, b, c, d, amplitude) * 0x010101u;

    if (half >= 2 * grid.scale()) {
        int32_t l = (int32_t)left, t = (int32_t)top, mx = (int32_t)middleX, my = (int32_t)middleY;
        subdivide(grid, l, t, half, variation);
        subdivide(grid, mx, t, half, variation);
        subdivide(grid, l, my, half, variation);
        subdivide(grid, mx, my, half, variation);
    }
}

// One level of the squares finer than the 256 x 256 plasma's.
struct FineLevel {
    Grid<0> grid;
    int32_t size; // of each square
    int32_t amplitude;
    uint64_t seedBits; // the call's first seed, shifted above the pixel index
};

// A mean level displaced by the hash of the pixel being written, clamped.
inline Pixel fineValue(const FineLevel& level, int64_t mean, uint32_t x, uint32_t y)
{
    int64_t offset = 0;
    if (level.amplitude > 0) {
        uint64_t index = ((uint64_t)y << level.grid.shift()) + x;
        offset = (int64_t)(mix64(level.seedBits | index) % (uint64_t)level.amplitude);
    }
    int64_t v = mean + offset - level.amplitude / 2;
    return (Pixel)std::clamp(v, (int64_t)0, (int64_t)255) * 0x010101u;
}

// The squares of rows [firstRow, endRow) of a fine level. Each square writes
// its top and left midpoints and its centre; its right and bottom midpoints
// are its neighbours' left and top ones, with the same two corners and so
// the same value. Nothing a level writes is a corner of that level, so its
// squares do not depend on one another.
void fillFineRows(const FineLevel& level, int32_t firstRow, int32_t endRow)
{
    const Grid<0>& grid = level.grid;
    uint32_t size = (uint32_t)level.size;
    uint32_t half = size / 2;
    for (int32_t row = firstRow; row < endRow; ++row) {
        uint32_t top = (uint32_t)row * size;
        uint32_t bottom = (top + size) & grid.mask();
        uint32_t middleY = top + half;
        for (uint32_t left = 0; left < (uint32_t)grid.side(); left += size) {
            uint32_t right = (left + size) & grid.mask();
            uint32_t middleX = left + half;
            int32_t a = grid.levelAt(left, top);
            int32_t b = grid.levelAt(right, top);
            int32_t c = grid.levelAt(left, bottom);
            int32_t d = grid.levelAt(right, bottom);
            Pixel* cell = grid.cellAt(middleX, top);
            if (*cell == EMPTY_PIXEL)
                *cell = fineValue(level, (a + b) / 2, middleX, top);
            cell = grid.cellAt(left, middleY);
            if (*cell == EMPTY_PIXEL)
                *cell = fineValue(level, (a + c) / 2, left, middleY);
            *grid.cellAt(middleX, middleY)
                = fineValue(level, (a + b + c + d) / 4, middleX, middleY);
        }
    }
}

} // namespace

namespace {

template <int32_t FIXED_SIDE> void plasma(Pixel* pixels, int32_t side, int32_t variation)
{
    uint64_t seedBits = (uint64_t)randomSeed << 32;
    pixels[0] = 0x7F7F7F;
    subdivide(Grid<FIXED_SIDE> { pixels, side }, 0, 0, side, variation);
    const Grid<0> grid { pixels, side };
    for (int32_t size = grid.scale(); size >= 2; size /= 2) {
        FineLevel level { grid, size, amplitudeOf((int64_t)size * variation / grid.scale()),
            seedBits };
        forEachRange(side / size, pixelCount(side),
            [&](int32_t begin, int32_t end) { fillFineRows(level, begin, end); });
    }
}

} // namespace

void generatePlasma(Pixel* pixels, int32_t side, int32_t variation)
{
    if (side == TEXTURE_SIZE)
        plasma<TEXTURE_SIZE>(pixels, side, variation);
    else
        plasma<0>(pixels, side, variation);
}

void generatePlasmaForAnySide(Pixel* pixels, int32_t side, int32_t variation)
{
    plasma<0>(pixels, side, variation);
}

void plasmaSubdivide(
    Pixel* pixels, int32_t side, int32_t x, int32_t y, int32_t size, int32_t variation)
{
    if (side == TEXTURE_SIZE)
        subdivide(Grid<TEXTURE_SIZE> { pixels, side }, x, y, size, variation);
    else
        subdivide(Grid<0> { pixels, side }, x, y, size, variation);
}

// Adds a random offset in -(amplitude / 2) .. amplitude - 1 - (amplitude / 2)
// to a mean level and clamps the sum to 0..255. A negative amplitude counts
// as 0: no offset and no random number.
static int32_t displaceLevel(int64_t mean, int32_t amplitude)
{
    if (amplitude < 0)
        amplitude = 0;
    int64_t v = mean + (int64_t)randomNumber((uint32_t)amplitude) - amplitude / 2;
    return (int32_t)std::clamp(v, (int64_t)0, (int64_t)255);
}

int32_t plasmaEdgeValue(int32_t a, int32_t b, int32_t amplitude)
{
    return displaceLevel(((int64_t)a + b) / 2, amplitude);
}

int32_t plasmaCentreValue(int32_t a, int32_t b, int32_t c, int32_t d, int32_t amplitude)
{
    return displaceLevel(((int64_t)a + b + c + d) / 4, amplitude);
}
