// Test helper: PNG files written through a writer and read back through
// libpng's own reader, samples untransformed.
#pragma once

#include <csetjmp>
#include <cstdio>
#include <gtest/gtest.h>
#include <png.h>
#include <string>
#include <vector>

#include "tests/support/bmp_file.h"

namespace testsupport {

// Writes a PNG through `write` into a file of its own and returns its bytes.
template <class Write> std::string pngBytes(const std::string& path, Write write)
{
    FILE* file = fopen(path.c_str(), "wb");
    EXPECT_TRUE(file);
    if (!file)
        return {};
    EXPECT_EQ(write(file), nullptr);
    fclose(file);
    return readFile(path);
}

// A PNG's samples as libpng's own reader gives them, 16-bit ones from their
// two bytes high first, with its bit depth and colour type.
struct PngSamples {
    png_uint_32 side = 0;
    int bitDepth = 0;
    int colorType = -1;
    std::vector<uint32_t> samples; // row by row
};

// Reads the PNG at `path` without transforming it; false if libpng cannot.
inline bool readPngSamples(const std::string& path, PngSamples& read)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row;
    bool ok = false;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_info(png, info);
        read.side = png_get_image_width(png, info);
        read.bitDepth = png_get_bit_depth(png, info);
        read.colorType = png_get_color_type(png, info);
        row.resize(png_get_rowbytes(png, info));
        int bytes = read.bitDepth / 8;
        for (png_uint_32 y = 0; y < png_get_image_height(png, info); ++y) {
            png_read_row(png, row.data(), nullptr);
            for (size_t i = 0; i + bytes <= row.size(); i += bytes)
                read.samples.push_back(bytes == 2 ? (row[i] << 8) | row[i + 1] : row[i]);
        }
        ok = true;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    fclose(file);
    return ok;
}

} // namespace testsupport
