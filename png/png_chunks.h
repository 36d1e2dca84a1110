// The chunks of a PNG file as the band writer writes them: the signature
// and header, the image data a band at a time, and the end. Each returns
// false when the file does not take it all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The PNG signature and the header chunk of a square image of `bits` bits
// per sample, grey (one sample per pixel) or red, green and blue, and alpha
// after them if asked.
bool writePngStart(FILE* file, int32_t side, int32_t bits, bool grey, bool alpha = false);

// One IDAT chunk: `size` compressed bytes whose CRC-32 is `crc32OfBytes`,
// with `before` ahead of them and `after` behind (the first band's zlib
// header, the last one's checksum). The chunk's CRC is joined from the
// bytes' own, so they are not read again.
bool writeImageDataChunk(FILE* file, const uint8_t* bytes, size_t size, uint32_t crc32OfBytes,
    const uint8_t* before, uint32_t beforeSize, const uint8_t* after, uint32_t afterSize);

// The IEND chunk that ends the file.
bool writePngEnd(FILE* file);

// The zlib stream's two-byte header for a level, as zlib itself writes it.
void putZlibHeader(uint8_t* target, int32_t level);

// Puts a number as PNG keeps it, most significant byte first.
void putBigEndian(uint8_t* target, uint32_t value);
