// How the band writer's PNGs are filtered and compressed, and the encoding
// each kind of picture takes, chosen by measurement.
#pragma once

#include <cstdint>

#include "png/png_filters.h"

// Which library compresses the bands: zlib, or libdeflate, which is faster
// for its size but has no way to look for runs alone and compresses only
// whole buffers (the band writer joins its streams, see deflate_join.h).
enum PngCompressor {
    PNG_ZLIB,
    PNG_LIBDEFLATE,
};

// How zlib looks for repeats: anywhere in its window, only in runs of one
// byte, or not at all (Huffman codes alone).
enum PngMatching {
    PNG_MATCH_ANYWHERE,
    PNG_MATCH_RUNS,
    PNG_MATCH_NONE,
};

// How the rows are filtered and compressed.
struct PngEncoding {
    PngRowFilter filter;
    int32_t level; // the compressor's: zlib's 1 to 9, libdeflate's 1 to 12
    PngMatching matching = PNG_MATCH_ANYWHERE; // zlib's alone
    PngCompressor compressor = PNG_ZLIB;
};

// What a PNG shows, as the caller that writes it knows: the pictures
// compress differently.
enum PngPicture {
    PNG_COLORS,
    PNG_HEIGHTS, // 16-bit grey
    PNG_NORMAL_MAP,
    // A packed texture: grey maps in red, green and blue.
    PNG_PACKED,
    // Red, green and blue, and alpha from the pixels' top bits: a packed
    // texture with a fourth map.
    PNG_PACKED_WITH_ALPHA,
};

// The encoding a picture's PNG of `bits` bits per sample takes above the
// window's side: chosen by measuring the gallery with
// bench/png-encodings.sh (its figures are in bench/png-encodings.md).
PngEncoding chosenPngEncoding(PngPicture picture, int32_t bits);
