#include "texture/generators.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "texture/parallel.h"
#include "texture/random.h"
#include "texture/texture.h"
#include "trig/rounded_trig.h"

namespace {

// The cells are worked out in square tiles of this side: each tile looks
// only at the few points that can be nearest to one of its pixels.
const int32_t CELL_TILE = 16;

// Rounded square root of a squared distance, halves going up.
inline int32_t roundedRoot(int32_t squared)
{
    return (int32_t)(sqrt((double)squared) + 0.5);
}

// The distance along one axis of the torus of side `side` between two
// coordinates that differ by `difference`, taken modulo the side.
inline int32_t foldedDifference(int32_t difference, int32_t side)
{
    int32_t d = difference & (side - 1);
    return d > side / 2 ? side - d : d;
}

// What the tiles of the cells share, worked out once per call.
template <class P> struct CellTables {
    int32_t side;
    int32_t count;
    int32_t pointX[MAX_CELL_POINTS];
    int32_t pointY[MAX_CELL_POINTS];
    // Squared folded difference for each difference 0 .. side-1, written
    // twice so that the differences between a point and a run of pixels are
    // one contiguous slice.
    int32_t square[2 * MAX_TEXTURE_SIDE];
    // For a point `d` pixels past the first pixel of a tile along an axis
    // (modulo the side): the least and the greatest squared folded
    // difference to the tile's pixels along that axis.
    int32_t nearestSquare[MAX_TEXTURE_SIDE];
    int32_t farthestSquare[MAX_TEXTURE_SIDE];
    // Grey pixel for each rounded distance 0 .. side.
    P shade[MAX_TEXTURE_SIDE + 1];
};

template <class P> void buildCellTables(CellTables<P>& t, int32_t size)
{
    int32_t side = t.side;
    int32_t mask = side - 1;
    for (int32_t i = 0; i < 2 * side; ++i) {
        int32_t d = foldedDifference(i, side);
        t.square[i] = d * d;
    }
    for (int32_t d = 0; d < side; ++d) {
        int32_t nearest = INT_MAX, farthest = 0;
        for (int32_t i = 0; i < CELL_TILE; ++i) {
            int32_t square = t.square[(d - i) & mask];
            nearest = std::min(nearest, square);
            farthest = std::max(farthest, square);
        }
        t.nearestSquare[d] = nearest;
        t.farthestSquare[d] = farthest;
    }
    int64_t reach = (int64_t)size * sideScale(side);
    for (int32_t d = 0; d <= side; ++d)
        t.shade[d] = greyOf<P>(d > reach ? Depth<P>::MAX : d * Depth<P>::MAX / reach);
}

// Fills the tiles of the tile rows [firstRow, endRow).
template <class P>
void fillCellTileRows(const CellTables<P>& t, P* pixels, int32_t firstRow, int32_t endRow)
{
    int32_t side = t.side;
    int32_t mask = side - 1;
    int32_t nearestDown[MAX_CELL_POINTS], farthestDown[MAX_CELL_POINTS];
    int32_t candidateAcross[MAX_CELL_POINTS], candidateY[MAX_CELL_POINTS];
    for (int32_t tileRow = firstRow; tileRow < endRow; ++tileRow) {
        int32_t top = tileRow * CELL_TILE;
        for (int32_t k = 0; k < t.count; ++k) {
            int32_t d = (t.pointY[k] - top) & mask;
            nearestDown[k] = t.nearestSquare[d];
            farthestDown[k] = t.farthestSquare[d];
        }
        for (int32_t left = 0; left < side; left += CELL_TILE) {
            // No pixel of the tile is farther than `bound` (squared) from
            // its nearest point, so a point nearer to none of them than
            // that cannot be the nearest: only the others are looked at.
            // Ties stay in, so the minimum is exactly the one over all points.
            int32_t bound = INT_MAX;
            for (int32_t k = 0; k < t.count; ++k)
                bound = std::min(
                    bound, t.farthestSquare[(t.pointX[k] - left) & mask] + farthestDown[k]);
            int32_t candidates = 0;
            for (int32_t k = 0; k < t.count; ++k) {
                if (t.nearestSquare[(t.pointX[k] - left) & mask] + nearestDown[k] <= bound) {
                    candidateAcross[candidates] = (left - t.pointX[k]) & mask;
                    candidateY[candidates] = t.pointY[k];
                    ++candidates;
                }
            }
            for (int32_t y = top; y < top + CELL_TILE; ++y) {
                int32_t nearest[CELL_TILE];
                std::fill(nearest, nearest + CELL_TILE, INT_MAX);
                for (int32_t c = 0; c < candidates; ++c) {
                    const int32_t* across = t.square + candidateAcross[c];
                    int32_t down = t.square[(y - candidateY[c]) & mask];
                    for (int32_t i = 0; i < CELL_TILE; ++i)
                        nearest[i] = std::min(nearest[i], across[i] + down);
                }
                // Rounding a root never reverses an order, so the nearest
                // rounded distance is the rounded root of the nearest
                // squared distance: one root per pixel.
                P* row = pixels + (size_t)y * side + left;
                for (int32_t i = 0; i < CELL_TILE; ++i)
                    row[i] = t.shade[roundedRoot(nearest[i])];
            }
        }
    }
}

// One row of the light spot, `down` the squared distance of the row from
// the centre. The tables are apart from the row, which lets the compiler
// keep them out of the way of its writes.
template <class P>
void fillPongRow(P* __restrict row, const P* __restrict shade, const int32_t* __restrict square,
    int32_t down, int32_t side)
{
    for (int32_t x = 0; x < side; ++x)
        row[x] = shade[roundedRoot(square[x] + down)];
}

// One row of the sine, `down` the row's term: the sum of the terms on the
// 0..255 scale, taken UNIT times before it is truncated.
template <class P>
void fillSineRow(P* __restrict row, const double* __restrict across, double down, int32_t side)
{
    const double unit = Depth<P>::UNIT;
    for (int32_t x = 0; x < side; ++x)
        row[x] = greyOf<P>((uint32_t)(int32_t)((down + across[x]) * unit));
}

} // namespace

template <class P> void generateCells(P* pixels, int32_t side, int32_t count, int32_t size)
{
    count = std::clamp(count, 0, MAX_CELL_POINTS);
    if (size < 1)
        size = 1;
    CellTables<P> tables;
    tables.side = side;
    tables.count = count;
    int32_t scale = sideScale(side);
    for (int32_t k = 0; k < count; ++k) {
        tables.pointX[k] = (int32_t)randomNumber(256) * scale;
        tables.pointY[k] = (int32_t)randomNumber(256) * scale;
    }
    buildCellTables(tables, size);
    if (count == 0) {
        // The nearest distance starts at the side and stays there.
        std::fill(pixels, pixels + pixelCount(side), tables.shade[side]);
        return;
    }
    forEachRange(side / CELL_TILE, pixelCount(side),
        [&](int32_t begin, int32_t end) { fillCellTileRows(tables, pixels, begin, end); });
}

template <class P> void generatePong(P* pixels, int32_t side, int32_t size)
{
    if (size < 1)
        size = 1;
    // No pixel is more than side / 2 from the centre along an axis, so the
    // distance never needs to wrap; the farthest is a corner.
    int32_t centre = side / 2;
    int32_t farthest = roundedRoot(2 * centre * centre);
    int64_t reach = (int64_t)size * sideScale(side);
    // Grey pixel for each rounded distance from the centre.
    P shade[MAX_TEXTURE_SIDE + 1];
    for (int32_t d = 0; d <= farthest; ++d)
        shade[d] = d > reach ? 0u : greyOf<P>(Depth<P>::MAX - d * Depth<P>::MAX / reach);
    int32_t square[MAX_TEXTURE_SIDE];
    for (int32_t i = 0; i < side; ++i)
        square[i] = (i - centre) * (i - centre);
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        for (int32_t y = begin; y < end; ++y)
            fillPongRow(pixels + (size_t)y * side, shade, square, square[y], side);
    });
}

template <class P> void generateSine(P* pixels, int32_t side, int32_t wavesX, int32_t wavesY)
{
    // Each term depends on one coordinate only: 2 x side sines serve all
    // pixels. Any wave count is safe: a sine lies in -1..1, so each term
    // stays in 0.5..127.5 and the level in 1..255.
    double across[MAX_TEXTURE_SIDE];
    double down[MAX_TEXTURE_SIDE];
    double length = side;
    for (int32_t i = 0; i < side; ++i) {
        across[i] = roundedSin(i * 6.283185308 * wavesX / length) * 63.5 + 64.0;
        down[i] = roundedSin(i * 6.283185308 * wavesY / length) * 63.5 + 64.0;
    }
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        for (int32_t y = begin; y < end; ++y)
            fillSineRow(pixels + (size_t)y * side, across, down[y], side);
    });
}

// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_GENERATORS(P)                                                                      \
    template void generateCells(P*, int32_t, int32_t, int32_t);                                    \
    template void generatePong(P*, int32_t, int32_t);                                              \
    template void generateSine(P*, int32_t, int32_t, int32_t);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_GENERATORS)
