#include "png/deflate_join.h"

#include <cstdlib>
#include <cstring>
#include <zlib.h>

namespace {

// Enough that inflate's output is rarely the reason it stops.
const size_t DECODED_BYTES = (size_t)1 << 18;

} // namespace

bool startDeflateJoiner(DeflateJoiner& joiner)
{
    joiner.decoded = (uint8_t*)malloc(DECODED_BYTES);
    z_stream* stream = (z_stream*)calloc(1, sizeof(z_stream));
    if (!joiner.decoded || !stream) {
        free(stream);
        return false;
    }
    // Raw deflate, as the bands are: negative window bits.
    if (inflateInit2(stream, -15) != Z_OK) {
        free(stream);
        return false;
    }
    joiner.stream = stream;
    return true;
}

void stopDeflateJoiner(DeflateJoiner& joiner)
{
    if (joiner.stream)
        inflateEnd(joiner.stream);
    free(joiner.stream);
    free(joiner.decoded);
    joiner.stream = nullptr;
    joiner.decoded = nullptr;
}

size_t makeStreamJoinable(DeflateJoiner& joiner, uint8_t* bytes, size_t size, size_t capacity)
{
    if (capacity < size + JOINABLE_STREAM_GROWTH || size == 0)
        return 0;
    z_stream& stream = *joiner.stream;
    if (inflateReset(&stream) != Z_OK)
        return 0;
    stream.next_in = bytes;
    stream.avail_in = (uInt)size;
    // Decoding with Z_BLOCK stops at the end of each block; the bits not
    // yet used of the last byte read tell where the next block's header
    // starts. The first block's starts at bit 0.
    size_t header = 0;
    int unused = -1; // bits of padding after the final block, once it ended
    while (unused < 0) {
        stream.next_out = joiner.decoded;
        stream.avail_out = (uInt)DECODED_BYTES;
        const int result = inflate(&stream, Z_BLOCK);
        if (result != Z_OK && result != Z_BUF_ERROR)
            return 0;
        const bool atBoundary = (stream.data_type & 128) != 0;
        if (atBoundary && (stream.data_type & 64))
            unused = stream.data_type & 7;
        else if (atBoundary && stream.avail_in != 0)
            header = (size_t)stream.total_in * 8 - (size_t)(stream.data_type & 7);
        else if (atBoundary || stream.avail_out != 0)
            return 0; // the bytes ended before the final block did
    }
    // Nothing may follow the final block but its byte's padding.
    if (stream.total_in != size)
        return 0;
    // A block's header starts with its "final" bit.
    bytes[header / 8] &= (uint8_t) ~(1u << (header % 8));
    // The padding, the last byte's top `unused` bits, is whatever the
    // compressor left there; the empty stored block starts in it, so it is
    // cleared first.
    bytes[size - 1] &= (uint8_t)(0xFFu >> unused);
    // The empty stored block's three header bits, all zero, go into the
    // cleared padding when there is room for them, else into a byte of their own;
    // the block then starts on the next byte boundary with its length, 0,
    // and the length's complement.
    if (unused < 3)
        bytes[size++] = 0;
    static const uint8_t EMPTY_STORED[4] = { 0x00, 0x00, 0xFF, 0xFF };
    memcpy(bytes + size, EMPTY_STORED, 4);
    return size + 4;
}
