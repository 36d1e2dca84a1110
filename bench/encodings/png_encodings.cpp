// Measures the band writer's filters and levels, zlib's and libdeflate's, on
// real pictures: reads each PNG named on the command line and writes it
// again with every filter and level on one thread, printing the megabytes
// of samples per second and the file's size. bench/png-encodings.sh renders
// the gallery for it. --libdeflate measures libdeflate's levels alone, with
// zlib's Up at levels 1 and 3 beside them.
//   png_encodings [--libdeflate] FILE.png ...

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <string>
#include <vector>

#include "png/png_bands.h"
#include "texture/parallel.h"

namespace {

// A decoded PNG's rows exactly as PNG stores them, unfiltered.
struct StoredRows {
    int32_t side = 0;
    int32_t bits = 0;
    bool grey = false;
    size_t rowBytes = 0;
    std::vector<uint8_t> bytes;
};

bool readStoredRows(const char* path, StoredRows& read)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    bool ok = false;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_info(png, info);
        read.side = (int32_t)png_get_image_width(png, info);
        read.bits = png_get_bit_depth(png, info);
        read.grey = png_get_color_type(png, info) == PNG_COLOR_TYPE_GRAY;
        read.rowBytes = png_get_rowbytes(png, info);
        read.bytes.resize(read.rowBytes * (size_t)read.side);
        for (int32_t y = 0; y < read.side; ++y)
            png_read_row(png, read.bytes.data() + read.rowBytes * (size_t)y, nullptr);
        ok = true;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    fclose(file);
    return ok;
}

void copyStoredRow(const void* image, int32_t y, uint8_t* row)
{
    const StoredRows& rows = *(const StoredRows*)image;
    std::copy_n(rows.bytes.data() + rows.rowBytes * (size_t)y, rows.rowBytes, row);
}

} // namespace

int main(int argc, char** argv)
{
    setOperationThreads(1);
    const PngRowFilter filters[] = { PNG_ROWS_UP, PNG_ROWS_PAETH, PNG_ROWS_LEAST_SUM };
    const int32_t levels[] = { 1, 3, 4, 6 };
    printf(
        "%-28s %-10s %5s %9s %12s %8s\n", "picture", "filter", "level", "MB/s", "bytes", "ratio");
    const bool libdeflateOnly = argc > 1 && strcmp(argv[1], "--libdeflate") == 0;
    for (int i = libdeflateOnly ? 2 : 1; i < argc; ++i) {
        StoredRows rows;
        if (!readStoredRows(argv[i], rows)) {
            fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        const BandedPng png { rows.side, rows.bits, rows.grey, copyStoredRow, &rows, nullptr,
            nullptr };
        const char* name = strrchr(argv[i], '/') ? strrchr(argv[i], '/') + 1 : argv[i];
        std::vector<PngEncoding> encodings;
        for (PngRowFilter filter : filters)
            for (int32_t level : levels)
                if (!libdeflateOnly || (filter == PNG_ROWS_UP && level != 4 && level != 6))
                    encodings.push_back(PngEncoding { filter, level });
        // zlib's quicker ways: repeats only in runs of a byte, or none.
        for (PngRowFilter filter : { PNG_ROWS_UP, PNG_ROWS_PAETH })
            for (PngMatching matching : { PNG_MATCH_RUNS, PNG_MATCH_NONE })
                if (!libdeflateOnly)
                    encodings.push_back(PngEncoding { filter, 1, matching });
        for (PngRowFilter filter : { PNG_ROWS_UP, PNG_ROWS_PAETH })
            for (int32_t level : { 1, 2, 3 })
                encodings.push_back(
                    PngEncoding { filter, level, PNG_MATCH_ANYWHERE, PNG_LIBDEFLATE });
        for (const PngEncoding& encoding : encodings) {
            FILE* out = tmpfile();
            const auto start = std::chrono::steady_clock::now();
            const char* failure = writeBandedPng(png, encoding, out);
            const double seconds
                = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const long size = ftell(out);
            fclose(out);
            if (failure) {
                fprintf(stderr, "%s: %s\n", name, failure);
                return 1;
            }
            static const char* const matchings[] = { "", "-runs", "-huffman" };
            const std::string filter = std::string(nameOfRowFilter(encoding.filter))
                + matchings[encoding.matching]
                + (encoding.compressor == PNG_LIBDEFLATE ? "-libdeflate" : "");
            printf("%-28s %-10s %5d %9.1f %12ld %8.3f\n", name, filter.c_str(), encoding.level,
                (double)rows.bytes.size() / seconds / 1e6, size,
                (double)size / (double)rows.bytes.size());
            fflush(stdout);
        }
    }
    return 0;
}
