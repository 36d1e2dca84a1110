#include "png/png_chunks.h"

#include <cstring>
#include <zlib.h>

void putBigEndian(uint8_t* target, uint32_t value)
{
    target[0] = (uint8_t)(value >> 24);
    target[1] = (uint8_t)(value >> 16);
    target[2] = (uint8_t)(value >> 8);
    target[3] = (uint8_t)value;
}

namespace {

// Writes a whole chunk whose data is small enough to gather first.
bool writeSmallChunk(FILE* file, const char* type, const uint8_t* data, uint32_t length)
{
    uint8_t head[8];
    putBigEndian(head, length);
    memcpy(head + 4, type, 4);
    uint8_t tail[4];
    putBigEndian(tail, (uint32_t)crc32(crc32(0, head + 4, 4), data, length));
    return fwrite(head, 1, 8, file) == 8 && fwrite(data, 1, length, file) == length
        && fwrite(tail, 1, 4, file) == 4;
}

} // namespace

bool writePngStart(FILE* file, int32_t side, int32_t bits, bool grey, bool alpha)
{
    static const uint8_t signature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    uint8_t header[13];
    putBigEndian(header, (uint32_t)side);
    putBigEndian(header + 4, (uint32_t)side);
    header[8] = (uint8_t)bits;
    header[9] = grey ? 0 : alpha ? 6 : 2; // colour type: grey, RGB or RGBA
    header[10] = header[11] = header[12] = 0; // deflate, adaptive filters, not interlaced
    return fwrite(signature, 1, 8, file) == 8 && writeSmallChunk(file, "IHDR", header, 13);
}

void putZlibHeader(uint8_t* target, int32_t level)
{
    const int flags = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    uint32_t header = (0x78 << 8) | (uint32_t)(flags << 6);
    header += 31 - header % 31;
    target[0] = (uint8_t)(header >> 8);
    target[1] = (uint8_t)header;
}

bool writeImageDataChunk(FILE* file, const uint8_t* bytes, size_t size, uint32_t crc32OfBytes,
    const uint8_t* before, uint32_t beforeSize, const uint8_t* after, uint32_t afterSize)
{
    const uint32_t length = beforeSize + (uint32_t)size + afterSize;
    uint8_t head[8];
    putBigEndian(head, length);
    static const uint8_t IDAT[4] = { 'I', 'D', 'A', 'T' };
    memcpy(head + 4, IDAT, 4);
    uLong crc = crc32(crc32(0, head + 4, 4), before, beforeSize);
    crc = crc32_combine(crc, crc32OfBytes, (z_off_t)size);
    crc = crc32(crc, after, afterSize);
    uint8_t tail[4];
    putBigEndian(tail, (uint32_t)crc);
    return fwrite(head, 1, 8, file) == 8 && fwrite(before, 1, beforeSize, file) == beforeSize
        && fwrite(bytes, 1, size, file) == size && fwrite(after, 1, afterSize, file) == afterSize
        && fwrite(tail, 1, 4, file) == 4;
}

bool writePngEnd(FILE* file)
{
    static const uint8_t nothing[1] = { 0 }; // zlib's crc32 takes null as "start again"
    return writeSmallChunk(file, "IEND", nothing, 0);
}
