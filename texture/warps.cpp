#include "texture/warps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numeric>

#include "texture/parallel.h"
#include "texture/texture.h"
#include "trig/rounded_trig.h"

namespace {

const double TWO_PI = 6.283185308;
const double HALF_PI = 1.570796327;

// Columns a warp works through before it moves on to the next ones: the
// window's whole texture, a strip of a larger one.
const int32_t WARP_STRIP = 256;

// A texture as the sampler reads it.
template <class P> struct Source {
    const P* pixels;
    uint32_t mask; // side - 1
    uint32_t shift; // log2(side)
    double side;
};

template <class P> Source<P> sourceOf(const P* pixels, int32_t side)
{
    return Source<P> { pixels, (uint32_t)side - 1, (uint32_t)__builtin_ctz((uint32_t)side),
        (double)side };
}

// Splits a coordinate into its wrapped cell (0 .. side-1) and the fraction
// x - floor(x). Coordinates beyond the 32-bit range are first reduced modulo
// the side (fmod is exact), so they wrap as they would with unbounded
// integers instead of overflowing the conversion; a non-finite coordinate
// counts as 0.
template <class P>
inline void splitCoordinate(const Source<P>& source, double x, uint32_t* cell, double* fraction)
{
    if (!(x >= -2147483648.0 && x < 2147483648.0))
        x = std::isfinite(x) ? std::fmod(x, source.side) : 0.0;
    // floor(x) without a library call: truncate, then step down below zero.
    int32_t whole = (int32_t)x;
    whole -= (int32_t)(whole > x);
    *fraction = x - whole;
    *cell = (uint32_t)whole & source.mask;
}

// One channel of four pixels weighted and summed in a fixed order, then
// truncated toward zero. The order keeps every result bit for bit the same
// at either depth; so does the ISO build, in which the compiler fuses no
// multiply-adds.
template <class P>
inline uint32_t blendChannel(
    P p0, P p1, P p2, P p3, double w0, double w1, double w2, double w3, uint32_t index)
{
    double s = 0.0;
    s = (double)channelOf(p0, index) * w0 + s;
    s = (double)channelOf(p1, index) * w1 + s;
    s = (double)channelOf(p2, index) * w2 + s;
    s = (double)channelOf(p3, index) * w3 + s;
    return (uint32_t)s;
}

// The bilinear sample shared by the public sampler and the warps.
template <class P> inline P sample(const Source<P>& source, double x, double y)
{
    uint32_t ix, iy;
    double fx, fy;
    splitCoordinate(source, x, &ix, &fx);
    splitCoordinate(source, y, &iy, &fy);
    uint32_t ix1 = (ix + 1) & source.mask;
    const P* row0 = source.pixels + ((size_t)iy << source.shift);
    const P* row1 = source.pixels + ((size_t)((iy + 1) & source.mask) << source.shift);
    P p0 = row0[ix], p1 = row0[ix1], p2 = row1[ix], p3 = row1[ix1];
    double w0 = (1 - fx) * (1 - fy);
    double w1 = (1 - fy) * fx;
    double w2 = (1 - fx) * fy;
    double w3 = fx * fy;
    uint32_t blue = blendChannel(p0, p1, p2, p3, w0, w1, w2, w3, 0);
    uint32_t green = blendChannel(p0, p1, p2, p3, w0, w1, w2, w3, 1);
    uint32_t red = blendChannel(p0, p1, p2, p3, w0, w1, w2, w3, 2);
    return composeLevels<P>(red, green, blue);
}

// A real position in the source texture.
struct Position {
    double x;
    double y;
};

// Samples a run of positions. Kept apart from the trigonometry so that
// consecutive samples overlap in the processor.
template <class P>
void sampleRun(P* out, const Source<P>& source, const Position* positions, int32_t count)
{
    for (const Position *position = positions, *end = positions + count; position < end; ++position)
        *out++ = sample(source, position->x, position->y);
}

// A warp's scratch texture: the caller's, or one of its own, freed when it
// goes out of scope. Fresh memory costs the system a page of zeros at a time,
// which at large sides costs more than a quick warp itself.
template <class P> struct Scratch {
    P* pixels;
    bool owned;
    Scratch(int32_t side, P* given)
        : pixels(given ? given : (P*)malloc(pixelCount(side) * sizeof(P)))
        , owned(!given)
    {
    }
    ~Scratch()
    {
        if (owned)
            free(pixels);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
};

// Copies the finished scratch over the texture.
template <class P> void copyBack(P* pixels, const P* scratch, int32_t side)
{
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        size_t first = (size_t)begin * side;
        memcpy(pixels + first, scratch + first, (size_t)(end - begin) * side * sizeof(P));
    });
}

// Copies a row turned so that output column 0 is column `firstColumn` of
// the source row; the two rows are different memory.
template <class P> void turnRow(P* out, const P* source, int32_t side, uint32_t firstColumn)
{
    size_t tail = (size_t)(side - (int32_t)firstColumn);
    memcpy(out, source + firstColumn, tail * sizeof(P));
    memcpy(out + tail, source, firstColumn * sizeof(P));
}

} // namespace

template <class P> P sampleBilinear(const P* pixels, int32_t side, double x, double y)
{
    return sample(sourceOf(pixels, side), x, y);
}

template <class P>
bool deformTexture(P* pixels, int32_t side, int32_t wavesX, int32_t sizeX, int32_t wavesY,
    int32_t sizeY, P* scratchPixels)
{
    Scratch<P> scratch(side, scratchPixels);
    if (!scratch.pixels)
        return false;
    // The horizontal displacement depends only on the row and the vertical
    // one only on the column: 2 x side sines serve every pixel. The sizes
    // scaled with the side are whole numbers well inside a double's exact range.
    int32_t scale = sideScale(side);
    double amplitudeX = (double)((int64_t)sizeX * scale);
    double amplitudeY = (double)((int64_t)sizeY * scale);
    double length = side;
    double offsetX[MAX_TEXTURE_SIDE];
    double offsetY[MAX_TEXTURE_SIDE];
    for (int32_t i = 0; i < side; ++i) {
        offsetX[i] = roundedSin(i * TWO_PI * wavesX / length) * amplitudeX;
        offsetY[i] = roundedSin(i * TWO_PI * wavesY / length) * amplitudeY;
    }
    // Each output pixel depends only on the source, so the rows can be split
    // across threads, and walked a strip of columns at a time: the pixels a
    // strip reads lie close together, where a whole row of a large texture
    // would read from too many rows to keep them cached.
    Source<P> source = sourceOf(pixels, side);
    forEachRange(side, pixelCount(side), [&](int32_t begin, int32_t end) {
        for (int32_t left = 0; left < side; left += WARP_STRIP) {
            int32_t right = std::min(side, left + WARP_STRIP);
            for (int32_t y = begin; y < end; ++y) {
                double rowOffset = offsetX[y];
                P* out = scratch.pixels + (size_t)y * side;
                for (int32_t x = left; x < right; ++x)
                    out[x] = sample(source, x + rowOffset, y + offsetY[x]);
            }
        }
    });
    copyBack(pixels, scratch.pixels, side);
    return true;
}

namespace {

// Where the swirl reads the output pixels at angles +-thetaRight and
// +-thetaLeft and radius r from the centre, given the added angle `swirl`
// they share. Outside the disc nothing is added, and as sin is odd and cos
// even, bit for bit, one sine and cosine serve theta and -theta: the four
// pixels take one pair of them, inside the disc two.
inline void twirlPositions(double centre, double thetaRight, double thetaLeft, double r,
    bool inDisc, double swirl, Position* downRight, Position* upRight, Position* downLeft,
    Position* upLeft)
{
    double sines[2], cosines[2];
    if (!inDisc) {
        roundedSinCosOfTwo(thetaRight, thetaLeft, sines, cosines);
        *downRight = Position { centre + r * cosines[0], centre + r * sines[0] };
        *upRight = Position { centre + r * cosines[0], centre - r * sines[0] };
        *downLeft = Position { centre + r * cosines[1], centre + r * sines[1] };
        *upLeft = Position { centre + r * cosines[1], centre - r * sines[1] };
        return;
    }
    roundedSinCosOfTwo(thetaRight + swirl, -thetaRight + swirl, sines, cosines);
    *downRight = Position { centre + r * cosines[0], centre + r * sines[0] };
    *upRight = Position { centre + r * cosines[1], centre + r * sines[1] };
    roundedSinCosOfTwo(thetaLeft + swirl, -thetaLeft + swirl, sines, cosines);
    *downLeft = Position { centre + r * cosines[0], centre + r * sines[0] };
    *upLeft = Position { centre + r * cosines[1], centre + r * sines[1] };
}

// Positions worked out together, for up to this many offsets from the centre.
const int32_t TWIRL_RUN = WARP_STRIP;

template <class P> struct Twirl {
    Source<P> source;
    P* out;
    int32_t side;
    int32_t half; // side / 2, the centre's coordinate and the disc's radius
    double turn;
};

// Fills the rows half + b and half - b of the output for b in [first, end).
// Radius and added angle depend only on |dx| and |dy|, so each is worked out
// once for the up to four pixels (half +- a, half +- b), a run of offsets a
// at a time. The runs go down the rows before they go across, so that the
// pixels they read lie close together.
template <class P> void twirlRows(const Twirl<P>& twirl, int32_t first, int32_t end)
{
    const int32_t half = twirl.half;
    const double centre = half;
    Position downRight[TWIRL_RUN], downLeft[TWIRL_RUN], upRight[TWIRL_RUN], upLeft[TWIRL_RUN];
    for (int32_t a0 = 0; a0 <= half; a0 += TWIRL_RUN) {
        for (int32_t b = first; b < end; ++b) {
            int32_t n = std::min(TWIRL_RUN, half + 1 - a0);
            for (int32_t i = 0; i < n; ++i) {
                int32_t a = a0 + i;
                double r = sqrt((double)(a * a + b * b));
                bool inDisc = r < centre;
                double swirl = 0.0;
                if (inDisc)
                    swirl = (roundedSin(TWO_PI * r / centre + (-HALF_PI)) + 1.0) * twirl.turn;
                // atan2 is odd in y, bit for bit, so the row above mirrors the
                // angles of the row below; the left half's angles come from
                // the same arctangent of b/a.
                double thetaRight, thetaLeft;
                roundedAtan2Mirrored((double)b, (double)a, &thetaRight, &thetaLeft);
                // The left runs go right to left, so that they fill the
                // output's columns in order.
                twirlPositions(centre, thetaRight, thetaLeft, r, inDisc, swirl, &downRight[i],
                    &upRight[i], &downLeft[n - 1 - i], &upLeft[n - 1 - i]);
            }
            // Offset +half is no pixel, and -0 is the same pixel as +0.
            int32_t rightCount = std::min(n, half - a0);
            int32_t leftCount = a0 == 0 ? n - 1 : n;
            int32_t leftStart = half - (a0 + n - 1);
            if (b < half) {
                P* row = twirl.out + (size_t)(half + b) * twirl.side;
                sampleRun(row + half + a0, twirl.source, downRight, rightCount);
                sampleRun(row + leftStart, twirl.source, downLeft, leftCount);
            }
            if (b > 0) {
                P* row = twirl.out + (size_t)(half - b) * twirl.side;
                sampleRun(row + half + a0, twirl.source, upRight, rightCount);
                sampleRun(row + leftStart, twirl.source, upLeft, leftCount);
            }
        }
    }
}

} // namespace

template <class P> bool twirlTexture(P* pixels, int32_t side, int32_t direction, P* scratchPixels)
{
    Scratch<P> scratch(side, scratchPixels);
    if (!scratch.pixels)
        return false;
    Twirl<P> twirl { sourceOf(pixels, side), scratch.pixels, side, side / 2, direction / 64.0 };
    forEachRange(twirl.half + 1, pixelCount(side),
        [&](int32_t begin, int32_t end) { twirlRows(twirl, begin, end); });
    copyBack(pixels, scratch.pixels, side);
    return true;
}

template <class P> bool moveTexture(P* pixels, int32_t side, int32_t dx, int32_t dy, P*)
{
    // Unsigned arithmetic keeps the low bits of the two's-complement shifts
    // without overflowing at the 32-bit extremes; the side divides 2^32, so
    // they wrap to it exactly.
    uint32_t mask = (uint32_t)side - 1;
    uint32_t scale = (uint32_t)sideScale(side);
    uint32_t down = ((uint32_t)dy * scale) & mask;
    uint32_t firstColumn = (0u - (uint32_t)dx * scale) & mask; // source column of output column 0
    // Each output row is one input row turned by the same number of columns,
    // and the rows follow one another in cycles of rows `down` apart: each
    // cycle is walked with one row kept aside, so every pixel moves once and
    // no scratch texture is needed.
    int32_t cycles = (int32_t)std::gcd((uint32_t)side, down == 0 ? (uint32_t)side : down);
    forEachRange(cycles, pixelCount(side), [&](int32_t begin, int32_t end) {
        P kept[MAX_TEXTURE_SIDE];
        for (uint32_t first = (uint32_t)begin; first < (uint32_t)end; ++first) {
            P* firstRow = pixels + (size_t)first * side;
            memcpy(kept, firstRow, (size_t)side * sizeof(P));
            uint32_t row = first;
            for (;;) {
                uint32_t from = (row - down) & mask;
                const P* source = from == first ? kept : pixels + (size_t)from * side;
                turnRow(pixels + (size_t)row * side, source, side, firstColumn);
                if (from == first)
                    break;
                row = from;
            }
        }
    });
    return true;
}

// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_WARPS(P)                                                                           \
    template P sampleBilinear(const P*, int32_t, double, double);                                  \
    template bool deformTexture(P*, int32_t, int32_t, int32_t, int32_t, int32_t, P*);              \
    template bool twirlTexture(P*, int32_t, int32_t, P*);                                          \
    template bool moveTexture(P*, int32_t, int32_t, int32_t, P*);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_WARPS)
