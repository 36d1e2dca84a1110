#include "texture/generators.h"

#include <algorithm>
#include <cmath>

#include "texture/random.h"
#include "texture/texture.h"

static const int32_t MAX_CELL_POINTS = 500;

// Largest squared distance between two pixels of the torus: 128² + 128².
static const int32_t MAX_SQUARED_DISTANCE = 32768;

// Rounded square root of a squared distance, halves going up.
static int32_t roundedRoot(int32_t squared)
{
    return (int32_t)(sqrt((double)squared) + 0.5);
}

// Lowers each squared distance of a row, stored less one, to the squared
// distance of four more points given by their row of squared column
// differences and their squared row difference less one. Kept out of line:
// inlined into the loop over the points, the compiler fuses two calls into
// one loop that it no longer vectorises.
[[gnu::noinline]] static void lowerToNearerOfFour(
    int16_t* nearest, const int16_t* const across[4], const int16_t down[4])
{
    const int16_t* across0 = across[0];
    const int16_t* across1 = across[1];
    const int16_t* across2 = across[2];
    const int16_t* across3 = across[3];
    int16_t down0 = down[0], down1 = down[1], down2 = down[2], down3 = down[3];
    for (int32_t x = 0; x < TEXTURE_SIZE; ++x) {
        int16_t d0 = (int16_t)(across0[x] + down0);
        int16_t d1 = (int16_t)(across1[x] + down1);
        int16_t d2 = (int16_t)(across2[x] + down2);
        int16_t d3 = (int16_t)(across3[x] + down3);
        int16_t d = std::min(std::min(d0, d1), std::min(d2, d3));
        nearest[x] = std::min(nearest[x], d);
    }
}

void generateCells(Pixel* pixels, int32_t count, int32_t size)
{
    count = std::clamp(count, 0, MAX_CELL_POINTS);
    if (size < 1)
        size = 1;
    uint8_t pointX[MAX_CELL_POINTS];
    uint8_t pointY[MAX_CELL_POINTS];
    for (int32_t k = 0; k < count; ++k) {
        pointX[k] = (uint8_t)randomNumber(256);
        pointY[k] = (uint8_t)randomNumber(256);
    }

    // Grey pixel for each rounded distance to the nearest point; with no
    // points that distance is 256.
    Pixel shade[257];
    for (int32_t d = 0; d <= 256; ++d)
        shade[d] = d > size ? 0xFFFFFFu : (Pixel)(d * 255 / size) * 0x010101u;
    if (count == 0) {
        std::fill(pixels, pixels + TEXTURE_PIXEL_COUNT, shade[256]);
        return;
    }

    // Rounding a root never reverses an order, so the nearest rounded
    // distance is the rounded root of the nearest squared distance: one root
    // per pixel instead of one per point. No pixel depends on another, so
    // they are filled row by row.
    //
    // Points are taken four at a time; copies of the first point fill the
    // last group, which cannot change a minimum.
    int32_t padded = (count + 3) & ~3;
    for (int32_t k = count; k < padded; ++k) {
        pointX[k] = pointX[0];
        pointY[k] = pointY[0];
    }
    // Squared wrap-around difference along one axis for each difference
    // 0..255, written twice so that the differences between a point and a
    // whole row of pixels are one contiguous slice.
    int16_t square[2 * TEXTURE_SIZE];
    for (int32_t i = 0; i < 2 * TEXTURE_SIZE; ++i) {
        int32_t d = i & 255;
        d = d > 128 ? 256 - d : d;
        square[i] = (int16_t)(d * d);
    }
    // Squared distances of one row, less one: 0..32768 becomes -1..32767,
    // which fits the signed 16-bit lanes that have a one-step minimum.
    int16_t nearest[TEXTURE_SIZE];
    for (int32_t y = 0; y < TEXTURE_SIZE; ++y) {
        std::fill(nearest, nearest + TEXTURE_SIZE, (int16_t)(MAX_SQUARED_DISTANCE - 1));
        for (int32_t k = 0; k < padded; k += 4) {
            const int16_t* across[4];
            int16_t down[4];
            for (int32_t j = 0; j < 4; ++j) {
                across[j] = square + TEXTURE_SIZE - pointX[k + j];
                down[j] = (int16_t)(square[(y - pointY[k + j]) & 255] - 1);
            }
            lowerToNearerOfFour(nearest, across, down);
        }
        Pixel* row = pixels + y * TEXTURE_SIZE;
        for (int32_t x = 0; x < TEXTURE_SIZE; ++x)
            row[x] = shade[roundedRoot(nearest[x] + 1)];
    }
}

void generatePlasma(Pixel* pixels, int32_t variation)
{
    pixels[0] = 0x7F7F7F;
    plasmaSubdivide(pixels, 0, 0, TEXTURE_SIZE, variation);
}

// The pixel at (x, y), both wrapped to the texture.
static Pixel* plasmaCell(Pixel* pixels, uint32_t x, uint32_t y)
{
    return pixels + ((y & 255u) << 8) + (x & 255u);
}

void plasmaSubdivide(Pixel* pixels, int32_t x, int32_t y, int32_t size, int32_t variation)
{
    // A square larger than the texture would only cover it again.
    size = std::min(size, TEXTURE_SIZE);
    int32_t half = size / 2;
    // Unsigned coordinates wrap instead of overflowing for any argument.
    uint32_t left = (uint32_t)x & 255u;
    uint32_t top = (uint32_t)y & 255u;
    uint32_t right = left + (uint32_t)size;
    uint32_t bottom = top + (uint32_t)size;
    uint32_t middleX = left + (uint32_t)half;
    uint32_t middleY = top + (uint32_t)half;

    int32_t a = (int32_t)(*plasmaCell(pixels, left, top) & 0xFF);
    int32_t b = (int32_t)(*plasmaCell(pixels, right, top) & 0xFF);
    int32_t c = (int32_t)(*plasmaCell(pixels, left, bottom) & 0xFF);
    int32_t d = (int32_t)(*plasmaCell(pixels, right, bottom) & 0xFF);
    // Saturated instead of overflowing; a negative product displaces nothing.
    int64_t product = (int64_t)size * variation;
    int32_t amplitude = (int32_t)std::clamp(product, (int64_t)0, (int64_t)INT32_MAX);

    Pixel* cell = plasmaCell(pixels, middleX, top);
    if (*cell == EMPTY_PIXEL)
        *cell = (Pixel)plasmaEdgeValue(a, b, amplitude) * 0x010101u;
    cell = plasmaCell(pixels, left, middleY);
    if (*cell == EMPTY_PIXEL)
        *cell = (Pixel)plasmaEdgeValue(a, c, amplitude) * 0x010101u;
    cell = plasmaCell(pixels, right, middleY);
    if (*cell == EMPTY_PIXEL)
        *cell = (Pixel)plasmaEdgeValue(b, d, amplitude) * 0x010101u;
    cell = plasmaCell(pixels, middleX, bottom);
    if (*cell == EMPTY_PIXEL)
        *cell = (Pixel)plasmaEdgeValue(c, d, amplitude) * 0x010101u;
    *plasmaCell(pixels, middleX, middleY)
        = (Pixel)plasmaCentreValue(a, b, c, d, amplitude) * 0x010101u;

    if (half > 1) {
        int32_t l = (int32_t)left, t = (int32_t)top, mx = (int32_t)middleX, my = (int32_t)middleY;
        plasmaSubdivide(pixels, l, t, half, variation);
        plasmaSubdivide(pixels, mx, t, half, variation);
        plasmaSubdivide(pixels, l, my, half, variation);
        plasmaSubdivide(pixels, mx, my, half, variation);
    }
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

void generatePong(Pixel* pixels, int32_t size)
{
    if (size < 1)
        size = 1;
    // Grey pixel for each rounded distance from the centre.
    Pixel shade[182];
    for (int32_t d = 0; d < 182; ++d)
        shade[d] = d > size ? 0u : (Pixel)(255 - d * 255 / size) * 0x010101u;
    // No pixel is more than 128 from the centre along an axis, so the
    // distance never needs to wrap.
    int32_t square[TEXTURE_SIZE];
    for (int32_t i = 0; i < TEXTURE_SIZE; ++i)
        square[i] = (i - 128) * (i - 128);
    for (int32_t y = 0; y < TEXTURE_SIZE; ++y) {
        Pixel* row = pixels + y * TEXTURE_SIZE;
        for (int32_t x = 0; x < TEXTURE_SIZE; ++x)
            row[x] = shade[roundedRoot(square[x] + square[y])];
    }
}

void generateSine(Pixel* pixels, int32_t wavesX, int32_t wavesY)
{
    // Each term depends on one coordinate only: 512 sines serve all pixels.
    // Any wave count is safe: a sine lies in -1..1, so each term stays in
    // 0.5..127.5 and the level in 1..255.
    double across[TEXTURE_SIZE];
    double down[TEXTURE_SIZE];
    for (int32_t i = 0; i < TEXTURE_SIZE; ++i) {
        across[i] = sin(i * 6.283185308 * wavesX / 256.0) * 63.5 + 64.0;
        down[i] = sin(i * 6.283185308 * wavesY / 256.0) * 63.5 + 64.0;
    }
    for (int32_t y = 0; y < TEXTURE_SIZE; ++y) {
        Pixel* row = pixels + y * TEXTURE_SIZE;
        for (int32_t x = 0; x < TEXTURE_SIZE; ++x)
            row[x] = (Pixel)(int32_t)(down[y] + across[x]) * 0x010101u;
    }
}
