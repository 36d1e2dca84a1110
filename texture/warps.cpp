#include "texture/warps.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "texture/texture.h"

namespace {

const double TWO_PI = 6.283185308;
const double HALF_PI = 1.570796327;
const size_t TEXTURE_BYTES = TEXTURE_PIXEL_COUNT * sizeof(Pixel);

// Splits a coordinate into its wrapped cell (0..255) and the fraction
// x - floor(x). Coordinates beyond the 32-bit range are first reduced modulo
// 256 (fmod is exact), so they wrap as they would with unbounded integers
// instead of overflowing the conversion; a non-finite coordinate counts as 0.
inline void splitCoordinate(double x, uint32_t* cell, double* fraction)
{
    if (!(x >= -2147483648.0 && x < 2147483648.0))
        x = std::isfinite(x) ? std::fmod(x, 256.0) : 0.0;
    // floor(x) without a library call: truncate, then step down below zero.
    int32_t whole = (int32_t)x;
    whole -= (int32_t)(whole > x);
    *fraction = x - whole;
    *cell = (uint32_t)whole & 255;
}

// One channel of four pixels weighted and summed in a fixed order, then
// truncated toward zero. The order keeps every result bit for bit the same;
// so does the ISO build, in which the compiler fuses no multiply-adds.
inline uint32_t blendChannel(Pixel p0, Pixel p1, Pixel p2, Pixel p3, double w0, double w1,
    double w2, double w3, uint32_t shift)
{
    double s = 0.0;
    s = (double)((p0 >> shift) & 255) * w0 + s;
    s = (double)((p1 >> shift) & 255) * w1 + s;
    s = (double)((p2 >> shift) & 255) * w2 + s;
    s = (double)((p3 >> shift) & 255) * w3 + s;
    return (uint32_t)s;
}

// The bilinear sample shared by the public sampler and the warps.
inline Pixel sample(const Pixel* pixels, double x, double y)
{
    uint32_t ix, iy;
    double fx, fy;
    splitCoordinate(x, &ix, &fx);
    splitCoordinate(y, &iy, &fy);
    uint32_t ix1 = (ix + 1) & 255;
    const Pixel* row0 = pixels + iy * 256;
    const Pixel* row1 = pixels + ((iy + 1) & 255) * 256;
    Pixel p0 = row0[ix], p1 = row0[ix1], p2 = row1[ix], p3 = row1[ix1];
    double w0 = (1 - fx) * (1 - fy);
    double w1 = (1 - fy) * fx;
    double w2 = (1 - fx) * fy;
    double w3 = fx * fy;
    uint32_t blue = blendChannel(p0, p1, p2, p3, w0, w1, w2, w3, 0);
    uint32_t green = blendChannel(p0, p1, p2, p3, w0, w1, w2, w3, 8);
    uint32_t red = blendChannel(p0, p1, p2, p3, w0, w1, w2, w3, 16);
    return (red << 16) + (green << 8) + blue;
}

// A real position in the source texture.
struct Position {
    double x;
    double y;
};

// Where the swirl reads the output pixel at angle `theta` and radius r from
// the centre, given the added angle `swirl` it shares with its mirror images.
inline Position twirlPosition(double theta, double r, bool inDisc, double swirl)
{
    if (inDisc)
        theta = theta + swirl;
    return Position { 128 + r * cos(theta), 128 + r * sin(theta) };
}

// Samples one row of 256 positions. Kept apart from the trigonometry so
// that consecutive samples overlap in the processor.
void sampleRow(Pixel* out, const Pixel* pixels, const Position* positions)
{
    for (const Position *position = positions, *end = positions + 256; position < end; ++position)
        *out++ = sample(pixels, position->x, position->y);
}

} // namespace

Pixel sampleBilinear(const Pixel* pixels, double x, double y)
{
    return sample(pixels, x, y);
}

void deformTexture(Pixel* pixels, int32_t wavesX, int32_t sizeX, int32_t wavesY, int32_t sizeY)
{
    Pixel* scratch = (Pixel*)malloc(TEXTURE_BYTES);
    if (!scratch)
        return;
    // The horizontal displacement depends only on the row and the vertical
    // one only on the column: 512 sines serve every pixel.
    double offsetX[256];
    double offsetY[256];
    for (int32_t i = 0; i < 256; ++i) {
        offsetX[i] = sin(i * TWO_PI * wavesX / 256.0) * sizeX;
        offsetY[i] = sin(i * TWO_PI * wavesY / 256.0) * sizeY;
    }
    // Each output pixel depends only on the source, so rows can be walked in
    // memory order.
    Pixel* out = scratch;
    for (int32_t y = 0; y < 256; ++y) {
        double rowOffset = offsetX[y];
        for (int32_t x = 0; x < 256; ++x)
            *out++ = sample(pixels, x + rowOffset, y + offsetY[x]);
    }
    memcpy(pixels, scratch, TEXTURE_BYTES);
    free(scratch);
}

void twirlTexture(Pixel* pixels, int32_t direction)
{
    Pixel* scratch = (Pixel*)malloc(TEXTURE_BYTES);
    if (!scratch)
        return;
    double turn = direction / 64.0;
    // Radius and added angle depend only on |dx| and |dy|, so each is worked
    // out once for the up to four pixels (+-a, +-b): the rows 128 + b and
    // 128 - b are built together.
    Position below[256];
    Position above[256];
    for (int32_t b = 0; b <= 128; ++b) {
        for (int32_t a = 0; a <= 128; ++a) {
            double r = sqrt((double)(a * a + b * b));
            bool inDisc = r < 128;
            double swirl = 0.0;
            if (inDisc)
                swirl = (sin(TWO_PI * r / 128 + (-HALF_PI)) + 1.0) * turn;
            // atan2 is odd in y, bit for bit, so the row above mirrors the
            // angles of the row below; the left half needs its own.
            double thetaRight = atan2((double)b, (double)a);
            double thetaLeft = atan2((double)b, (double)-a);
            // Offset +128 is no pixel, and -0 is the same pixel as +0.
            bool right = a < 128;
            bool left = a > 0;
            bool down = b < 128;
            bool up = b > 0;
            if (down && right)
                below[128 + a] = twirlPosition(thetaRight, r, inDisc, swirl);
            if (down && left)
                below[128 - a] = twirlPosition(thetaLeft, r, inDisc, swirl);
            if (up && right)
                above[128 + a] = twirlPosition(-thetaRight, r, inDisc, swirl);
            if (up && left)
                above[128 - a] = twirlPosition(-thetaLeft, r, inDisc, swirl);
        }
        if (b < 128)
            sampleRow(scratch + (128 + b) * 256, pixels, below);
        if (b > 0)
            sampleRow(scratch + (128 - b) * 256, pixels, above);
    }
    memcpy(pixels, scratch, TEXTURE_BYTES);
    free(scratch);
}

void moveTexture(Pixel* pixels, int32_t dx, int32_t dy)
{
    Pixel* scratch = (Pixel*)malloc(TEXTURE_BYTES);
    if (!scratch)
        return;
    // Unsigned arithmetic keeps the low 8 bits of the two's-complement
    // differences without overflowing at the 32-bit extremes.
    uint32_t firstColumn = (0u - (uint32_t)dx) & 255; // source column of output column 0
    Pixel* out = scratch;
    for (uint32_t y = 0; y < 256; ++y, out += 256) {
        const Pixel* row = pixels + ((y - (uint32_t)dy) & 255) * 256;
        memcpy(out, row + firstColumn, (256 - firstColumn) * sizeof(Pixel));
        memcpy(out + (256 - firstColumn), row, firstColumn * sizeof(Pixel));
    }
    memcpy(pixels, scratch, TEXTURE_BYTES);
    free(scratch);
}
