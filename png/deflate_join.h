// libdeflate compresses a whole buffer into a whole raw deflate stream, its
// last block marked final. The band writer compresses each band on its own
// and needs them to follow one another in a single stream, as zlib's sync
// flush allows: this turns such a stream into one that goes on, whatever
// padding its last byte holds.
#pragma once

#include <cstddef>
#include <cstdint>

struct z_stream_s;

// A thread's own tools for finding where a stream's blocks start: a raw
// inflate stream and a buffer for what it decodes, which is thrown away.
struct DeflateJoiner {
    z_stream_s* stream = nullptr;
    uint8_t* decoded = nullptr;
};

// False when memory runs out; stopDeflateJoiner is to be called either way.
bool startDeflateJoiner(DeflateJoiner& joiner);
void stopDeflateJoiner(DeflateJoiner& joiner);

// Bytes a stream may grow by in makeStreamJoinable.
const size_t JOINABLE_STREAM_GROWTH = 5;

// Makes the whole raw deflate stream in bytes[0, size) one that another can
// follow: its final block no longer final, then an empty stored block that
// ends it on a byte boundary, as a sync flush ends it. `capacity` is the
// room at `bytes`, at least size + JOINABLE_STREAM_GROWTH. Returns the new
// size, or 0 when the bytes are not one whole stream.
size_t makeStreamJoinable(DeflateJoiner& joiner, uint8_t* bytes, size_t size, size_t capacity);
