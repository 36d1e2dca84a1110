// Writes a PNG whose image data is compressed on every operation thread:
// the filtered rows are cut into bands of a fixed number of rows, each band
// compressed on its own, and the bands joined in order into one zlib
// stream, each in an IDAT chunk of its own. The band size depends only on
// the image's layout, so the bytes are the same with any number of threads.
#pragma once

#include <cstdint>
#include <cstdio>

#include "png/png_encoding.h"
#include "texture/texture_image.h"

// Puts the samples of the image's row `y` into `row`, as PNG keeps them.
typedef void (*FillPngRow)(const void* image, int32_t y, uint8_t* row);

// A square image as the band writer takes it.
struct BandedPng {
    int32_t side;
    int32_t bits; // per sample: 8 or 16
    bool grey; // one sample per pixel, else red, green and blue
    FillPngRow fillRow; // called from any operation thread, rows in any order
    const void* image;
    RowsWritten rowsWritten; // told, in order, as each band goes into the file
    void* context;
    bool alpha = false; // with red, green and blue, a fourth sample: alpha
};

// Rows in each band: as many as fill about BAND_BYTES of filtered data,
// at least one. Whole rows, so no band starts inside a row's filter data.
const size_t BAND_BYTES = (size_t)1 << 20;
int32_t rowsPerBand(int32_t side, int32_t bits, bool grey, bool alpha = false);

// Writes the whole PNG into an open file, using up to operationThreads()
// threads; at most a few bands per thread are held compressed at once.
// Returns null, or the reason it failed.
const char* writeBandedPng(const BandedPng& png, const PngEncoding& encoding, FILE* file);
