// The PNG row filters: each row is stored as its difference from a guess
// made from the bytes to its left and above, which compresses far better
// than the samples themselves.
#pragma once

#include <cstddef>
#include <cstdint>

// How rows are filtered: one filter for every row, or for each row the one
// whose bytes, read as signed, sum to the least in magnitude.
enum PngRowFilter {
    PNG_ROWS_NONE = 0,
    PNG_ROWS_SUB = 1,
    PNG_ROWS_UP = 2,
    PNG_ROWS_AVERAGE = 3,
    PNG_ROWS_PAETH = 4,
    PNG_ROWS_LEAST_SUM = 5,
};

// The name a measurement prints for the filter.
const char* nameOfRowFilter(PngRowFilter filter);

// Filters `row`, `length` bytes of pixels `pixelBytes` wide, against
// `above` (the previous row, or zeros for the first) into `out`: the
// filter's type byte, then `length` bytes. `spare` holds another length + 1
// bytes, used by PNG_ROWS_LEAST_SUM to try the filters.
void filterRow(PngRowFilter filter, const uint8_t* row, const uint8_t* above, size_t length,
    size_t pixelBytes, uint8_t* out, uint8_t* spare);
