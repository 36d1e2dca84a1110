#include "png/png_filters.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// The predictor a decoder uses for Paeth: whichever of left, above and
// above-left is nearest to left + above - above-left.
uint8_t paethGuess(int left, int above, int aboveLeft)
{
    int estimate = left + above - aboveLeft;
    int toLeft = abs(estimate - left);
    int toAbove = abs(estimate - above);
    int toAboveLeft = abs(estimate - aboveLeft);
    if (toLeft <= toAbove && toLeft <= toAboveLeft)
        return (uint8_t)left;
    return (uint8_t)(toAbove <= toAboveLeft ? above : aboveLeft);
}

// One filter over a whole row, written after its type byte. The first
// pixel's bytes have no left neighbour: a decoder takes zeros there. Each
// filter has a loop of its own, so the compiler sees each plainly.
void filterRowWith(PngRowFilter filter, const uint8_t* row, const uint8_t* above, size_t length,
    size_t pixelBytes, uint8_t* out)
{
    *out++ = (uint8_t)filter;
    const size_t first = pixelBytes < length ? pixelBytes : length;
    switch (filter) {
    case PNG_ROWS_SUB:
        memcpy(out, row, first);
        for (size_t i = first; i < length; ++i)
            out[i] = (uint8_t)(row[i] - row[i - pixelBytes]);
        return;
    case PNG_ROWS_UP:
        for (size_t i = 0; i < length; ++i)
            out[i] = (uint8_t)(row[i] - above[i]);
        return;
    case PNG_ROWS_AVERAGE:
        for (size_t i = 0; i < first; ++i)
            out[i] = (uint8_t)(row[i] - (above[i] >> 1));
        for (size_t i = first; i < length; ++i)
            out[i] = (uint8_t)(row[i] - ((row[i - pixelBytes] + above[i]) >> 1));
        return;
    case PNG_ROWS_PAETH:
        for (size_t i = 0; i < first; ++i)
            out[i] = (uint8_t)(row[i] - above[i]);
        for (size_t i = first; i < length; ++i)
            out[i] = (uint8_t)(row[i]
                - paethGuess(row[i - pixelBytes], above[i], above[i - pixelBytes]));
        return;
    default:
        memcpy(out, row, length);
        return;
    }
}

// The usual measure of how well a filtered row will compress: its bytes
// read as signed, summed in magnitude; smaller is better.
uint64_t sumOfMagnitudes(const uint8_t* filtered, size_t length)
{
    uint64_t sum = 0;
    for (size_t i = 0; i < length; ++i)
        sum += (uint64_t)abs((int)(int8_t)filtered[i]);
    return sum;
}

} // namespace

const char* nameOfRowFilter(PngRowFilter filter)
{
    static const char* const names[] = { "none", "sub", "up", "average", "paeth", "least-sum" };
    return names[filter];
}

void filterRow(PngRowFilter filter, const uint8_t* row, const uint8_t* above, size_t length,
    size_t pixelBytes, uint8_t* out, uint8_t* spare)
{
    if (filter != PNG_ROWS_LEAST_SUM) {
        filterRowWith(filter, row, above, length, pixelBytes, out);
        return;
    }
    // The best so far stays in `out`; each other filter is tried in `spare`.
    filterRowWith(PNG_ROWS_NONE, row, above, length, pixelBytes, out);
    uint64_t best = sumOfMagnitudes(out + 1, length);
    for (PngRowFilter next : { PNG_ROWS_SUB, PNG_ROWS_UP, PNG_ROWS_AVERAGE, PNG_ROWS_PAETH }) {
        filterRowWith(next, row, above, length, pixelBytes, spare);
        uint64_t sum = sumOfMagnitudes(spare + 1, length);
        if (sum < best) {
            best = sum;
            memcpy(out, spare, length + 1);
        }
    }
}
