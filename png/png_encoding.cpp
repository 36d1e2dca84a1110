#include "png/png_encoding.h"

PngEncoding chosenPngEncoding(int32_t bits, bool normalMap)
{
    // Measured on the gallery at 4096 (bench/png-encodings.sh), megabytes of
    // samples per second on one thread and the files' total size:
    // - colours, 8 bits: Up at level 4, 86 MB/s and 50.6 MB, both better
    //   than level 3 (75 MB/s, 54.4 MB); level 1 or matching runs alone is
    //   faster but 11 to 20 % larger.
    // - colours, 16 bits: Up with libdeflate at level 1, 302 MB, 1.6 times
    //   as fast as zlib's level 3 (297 MB) and 1.1 times zlib's level 1
    //   (321 MB). libdeflate's level 2 makes 294 MB at 0.7 times its level
    //   1's speed; Paeth makes 350 MB. The example's file is 5 % larger
    //   than zlib's level 3 made it, the others -5 to +3 %.
    // - heights (16-bit grey): Up with libdeflate at level 1, 132 MB and
    //   1.2 times as fast as zlib's level 1 (137 MB), which was 1.5 times
    //   as fast as its level 3 (135 MB). Paeth with zlib's runs alone is
    //   faster at 4096 (94 MB/s against 61, 132 MB) but misses the long
    //   matches of smoother, larger heights: the example's at 16384 grows
    //   by 27 % over zlib's level 3, at zlib's level 1 by 10 %.
    // (libdeflate measured with bench/png-encodings.sh's "libdeflate" run,
    // the machine shared with builds: its speeds are against zlib's in the
    // same run.)
    // - normal maps: their low bits hardly repeat, so looking for long
    //   matches is wasted. Paeth with runs alone is both the fastest and the
    //   smallest: 8-bit maps 118 MB/s and 123 MB against Up at level 3's
    //   51 MB/s and 151 MB; the example's at 16384 is 16 % smaller than
    //   level 3 makes it; 16-bit maps 83 to 91 MB/s against 29 to 40.
    if (normalMap)
        return PngEncoding { PNG_ROWS_PAETH, 1, PNG_MATCH_RUNS };
    if (bits == 8)
        return PngEncoding { PNG_ROWS_UP, 4 };
    return PngEncoding { PNG_ROWS_UP, 1, PNG_MATCH_ANYWHERE, PNG_LIBDEFLATE };
}
