#include "texture/normal_map.h"

#include <cmath>

#include "texture/parallel.h"

namespace {

// The heights of row `y` (wrapped to the texture) into `out`.
template <class P> void readHeights(const P* heights, int32_t side, int32_t y, double* out)
{
    const P* row = heights + (size_t)(y & (side - 1)) * side;
    for (int32_t x = 0; x < side; ++x)
        out[x] = heightOf(row[x]);
}

// One channel of a unit normal's component c in -1..1, on the output's levels.
template <class Q> inline uint64_t normalLevel(double c)
{
    return (uint64_t)(int64_t)((c * 0.5 + 0.5) * (double)Depth<Q>::MAX + 0.5);
}

// The unit normals of rows [first, end), each handed to `write` as
// (index, x, y, z) in a frame where x goes right, y up (down when
// options.greenUp is false) and z out of the picture. Each row needs the
// heights of the rows above and below it, which a ring of three rows keeps,
// so every height is worked out once per piece of rows but the two at its
// ends.
template <class P, class Write>
void normalRows(const P* heights, int32_t side, const NormalOptions& options, int32_t first,
    int32_t end, const Write& write)
{
    double rows[3][MAX_TEXTURE_SIDE];
    double* above = rows[0];
    double* here = rows[1];
    double* below = rows[2];
    readHeights(heights, side, first - 1, above);
    readHeights(heights, side, first, here);
    const int32_t mask = side - 1;
    // Slopes per texture width: a Sobel sum is 8 times the slope per pixel.
    const double length = side;
    const double green = options.greenUp ? 1.0 : -1.0;
    for (int32_t y = first; y < end; ++y) {
        readHeights(heights, side, y + 1, below);
        size_t index = (size_t)y * side;
        for (int32_t x = 0; x < side; ++x, ++index) {
            int32_t left = (x - 1) & mask;
            int32_t right = (x + 1) & mask;
            double gx = ((above[right] + 2.0 * here[right]) + below[right])
                - ((above[left] + 2.0 * here[left]) + below[left]);
            double gy = ((below[left] + 2.0 * below[x]) + below[right])
                - ((above[left] + 2.0 * above[x]) + above[right]);
            double sx = gx * length / 8.0 * options.relief;
            double sy = gy * length / 8.0 * options.relief;
            double norm = sqrt(sx * sx + sy * sy + 1);
            write(index, -sx / norm, green * sy / norm, 1 / norm);
        }
        double* spare = above;
        above = here;
        here = below;
        below = spare;
    }
}

} // namespace

template <class P, class Q>
void generateNormalMap(const P* heights, int32_t side, const NormalOptions& options, Q* normals)
{
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        normalRows(
            heights, side, options, begin, end, [&](size_t index, double x, double y, double z) {
                normals[index]
                    = composeLevels<Q>(normalLevel<Q>(x), normalLevel<Q>(y), normalLevel<Q>(z));
            });
    });
}

template <class P> void generateHeightMap(const P* colors, int32_t side, DeepPixel* heights)
{
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        const size_t last = (size_t)end * side;
        for (size_t i = (size_t)begin * side; i < last; ++i)
            heights[i] = greyOf<DeepPixel>(heightLevel(colors[i]));
    });
}

template <class P>
void generateUnitNormals(
    const P* heights, int32_t side, const NormalOptions& options, UnitNormal* normals)
{
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        normalRows(
            heights, side, options, begin, end, [&](size_t index, double x, double y, double z) {
                normals[index] = UnitNormal { x, y, z };
            });
    });
}

// Heights of either depth give a normal map of either depth; heights are
// always kept with 16 bits.
// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_NORMAL_MAPS(P)                                                                     \
    template void generateNormalMap(const P*, int32_t, const NormalOptions&, Pixel*);              \
    template void generateNormalMap(const P*, int32_t, const NormalOptions&, DeepPixel*);          \
    template void generateHeightMap(const P*, int32_t, DeepPixel*);                                \
    template void generateUnitNormals(const P*, int32_t, const NormalOptions&, UnitNormal*);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_NORMAL_MAPS)
