#include "png/png_encoding.h"

PngEncoding chosenPngEncoding(PngPicture picture, int32_t bits)
{
    // A normal map's low bits hardly repeat, so looking for long matches is
    // wasted: Paeth with runs alone is both the fastest and the smallest.
    if (picture == PNG_NORMAL_MAP)
        return PngEncoding { PNG_ROWS_PAETH, 1, PNG_MATCH_RUNS };
    // A packed texture's maps are smoother than colours: libdeflate finds
    // their matches faster than zlib and makes smaller files too. (With a
    // fourth map in alpha, no other encoding made the files smaller.)
    if (bits == 8 && picture == PNG_PACKED)
        return PngEncoding { PNG_ROWS_UP, 2, PNG_MATCH_ANYWHERE, PNG_LIBDEFLATE };
    if (bits == 8)
        return PngEncoding { PNG_ROWS_UP, 4 };
    // 16-bit colours and heights: libdeflate, faster than zlib for their size.
    return PngEncoding { PNG_ROWS_UP, 1, PNG_MATCH_ANYWHERE, PNG_LIBDEFLATE };
}
