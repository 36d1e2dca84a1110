// libdeflate's whole streams made joinable and joined: the joined stream
// must inflate to exactly what was compressed, whatever padding the final
// block of each part left in its last byte, and whatever kind of block it was.
#include "png/deflate_join.h"

#include <gtest/gtest.h>
#include <libdeflate.h>
#include <string>
#include <vector>
#include <zlib.h>

#include "tests/support/random_texture.h"

using namespace testsupport;

namespace {

// Noise, which no compressor can shrink, or a smooth ramp with a little
// noise, which compresses into Huffman-coded blocks.
std::vector<uint8_t> someBytes(size_t size, uint32_t seed, bool smooth)
{
    Noise noise(seed);
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = smooth ? (uint8_t)(i / 97 + noise.next() % 4) : (uint8_t)noise.next();
    return bytes;
}

// Inflates a whole raw deflate stream; false unless it ends exactly at its
// last byte.
bool inflateWhole(const std::vector<uint8_t>& stream, size_t expected, std::vector<uint8_t>& out)
{
    z_stream inflater {};
    if (inflateInit2(&inflater, -15) != Z_OK)
        return false;
    out.assign(expected + 1, 0);
    inflater.next_in = (Bytef*)stream.data();
    inflater.avail_in = (uInt)stream.size();
    inflater.next_out = out.data();
    inflater.avail_out = (uInt)out.size();
    const int result = inflate(&inflater, Z_FINISH);
    out.resize(inflater.total_out);
    const bool whole = result == Z_STREAM_END && inflater.avail_in == 0;
    inflateEnd(&inflater);
    return whole;
}

// The padding bits after a stream's final block, found without walking
// its blocks: a bit of the last byte, from the top down, is padding when
// the stream decodes the same with it flipped.
int paddingBits(std::vector<uint8_t> stream, const std::vector<uint8_t>& original)
{
    int padding = 0;
    std::vector<uint8_t> out;
    for (int bit = 7; bit >= 0; --bit, ++padding) {
        stream.back() ^= (uint8_t)(1u << bit);
        const bool same = inflateWhole(stream, original.size(), out) && out == original;
        stream.back() ^= (uint8_t)(1u << bit);
        if (!same)
            break;
    }
    return padding;
}

// Compresses `part` on its own, as the band writer does each band.
std::vector<uint8_t> compressedWhole(
    libdeflate_compressor* compressor, const std::vector<uint8_t>& part)
{
    std::vector<uint8_t> stream(
        libdeflate_deflate_compress_bound(compressor, part.size()) + JOINABLE_STREAM_GROWTH);
    const size_t size = libdeflate_deflate_compress(compressor, part.data(), part.size(),
        stream.data(), stream.size() - JOINABLE_STREAM_GROWTH);
    stream.resize(size);
    return stream;
}

TEST(DeflateJoin, JoinedStreamsInflateToTheirPartsWhateverPaddingOrBlockEndsEach)
{
    DeflateJoiner joiner;
    ASSERT_TRUE(startDeflateJoiner(joiner));
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(1);
    ASSERT_NE(compressor, nullptr);
    // Parts seen ending with each count of padding bits (3 and more
    // together), and ending with a stored block.
    int paddings[4] = { 0, 0, 0, 0 };
    int storedFinals = 0;
    Noise sizes(17);
    for (uint32_t seed = 1; seed <= 24; ++seed) {
        std::vector<uint8_t> joined;
        std::vector<uint8_t> whole;
        const int parts = 1 + (int)(seed % 7);
        for (int part = 0; part < parts; ++part) {
            // From one byte to more than one stored block's 64 KiB.
            const size_t size
                = part % 3 == 0 ? (size_t)sizes.between(1, 40) : (size_t)sizes.between(100, 200000);
            const bool smooth = (seed + (uint32_t)part) % 2 == 0;
            const std::vector<uint8_t> bytes = someBytes(size, seed * 31 + (uint32_t)part, smooth);
            std::vector<uint8_t> stream = compressedWhole(compressor, bytes);
            ASSERT_FALSE(stream.empty());
            const size_t compressedSize = stream.size();
            const bool last = part + 1 == parts;
            if (!last) {
                paddings[std::min(paddingBits(stream, bytes), 3)]++;
                storedFinals += compressedSize > size;
                stream.resize(compressedSize + JOINABLE_STREAM_GROWTH);
                const size_t goesOn
                    = makeStreamJoinable(joiner, stream.data(), compressedSize, stream.size());
                ASSERT_TRUE(goesOn == compressedSize + 4 || goesOn == compressedSize + 5)
                    << "seed " << seed << ", part " << part << ": " << goesOn;
                stream.resize(goesOn);
                // It ends as a sync flush does, in an empty stored block.
                EXPECT_EQ(std::string(stream.end() - 4, stream.end()),
                    std::string("\x00\x00\xFF\xFF", 4));
            }
            joined.insert(joined.end(), stream.begin(), stream.end());
            whole.insert(whole.end(), bytes.begin(), bytes.end());
        }
        std::vector<uint8_t> out;
        EXPECT_TRUE(inflateWhole(joined, whole.size(), out)) << "seed " << seed;
        EXPECT_TRUE(out == whole) << "seed " << seed << " in " << parts << " parts";
    }
    for (int padding = 0; padding < 4; ++padding)
        EXPECT_GT(paddings[padding], 0) << "no part ended with " << padding << " padding bits";
    EXPECT_GT(storedFinals, 0) << "no part ended with a stored block";
    libdeflate_free_compressor(compressor);
    stopDeflateJoiner(joiner);
}

// The padding after a stream's final block is any bits its writer left
// there: a decoder ignores them, but the empty stored block that makes the
// stream go on starts in them, so they must not reach its header.
TEST(DeflateJoin, PaddingBitsThatAreNotZeroAreMaskedBeforeTheStreamGoesOn)
{
    DeflateJoiner joiner;
    ASSERT_TRUE(startDeflateJoiner(joiner));
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(1);
    ASSERT_NE(compressor, nullptr);
    const std::vector<uint8_t> next = someBytes(5000, 99, true);
    const std::vector<uint8_t> nextStream = compressedWhole(compressor, next);
    // Parts seen with 1 or 2 padding bits (the stored block's header then
    // runs into a byte of its own) and with 3 or more.
    int shortPadding = 0, longPadding = 0;
    Noise sizes(41);
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        const std::vector<uint8_t> bytes
            = someBytes((size_t)sizes.between(1, 3000), seed, seed % 2 == 0);
        std::vector<uint8_t> stream = compressedWhole(compressor, bytes);
        const int padding = paddingBits(stream, bytes);
        if (padding == 0)
            continue;
        (padding < 3 ? shortPadding : longPadding)++;
        stream.back() |= (uint8_t)(0xFFu << (8 - padding));
        const size_t size = stream.size();
        stream.resize(size + JOINABLE_STREAM_GROWTH);
        const size_t goesOn = makeStreamJoinable(joiner, stream.data(), size, stream.size());
        ASSERT_GT(goesOn, 0u) << "seed " << seed;
        stream.resize(goesOn);
        stream.insert(stream.end(), nextStream.begin(), nextStream.end());
        std::vector<uint8_t> whole = bytes, out;
        whole.insert(whole.end(), next.begin(), next.end());
        EXPECT_TRUE(inflateWhole(stream, whole.size(), out) && out == whole)
            << "seed " << seed << ", " << padding << " padding bits set";
    }
    EXPECT_GT(shortPadding, 0);
    EXPECT_GT(longPadding, 0);
    libdeflate_free_compressor(compressor);
    stopDeflateJoiner(joiner);
}

// A stream cut short, or with bytes after its final block, is not one
// whole stream: joining it would lose data or add garbage.
TEST(DeflateJoin, RefusesAStreamCutShortOrWithBytesAfterIt)
{
    DeflateJoiner joiner;
    ASSERT_TRUE(startDeflateJoiner(joiner));
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(1);
    ASSERT_NE(compressor, nullptr);
    for (bool smooth : { false, true }) {
        const std::vector<uint8_t> bytes = someBytes(300000, 5, smooth);
        const std::vector<uint8_t> stream = compressedWhole(compressor, bytes);
        std::vector<uint8_t> work(stream.size() + 16);
        std::copy(stream.begin(), stream.end(), work.begin());
        EXPECT_EQ(makeStreamJoinable(joiner, work.data(), stream.size() - 1, work.size()), 0u)
            << smooth;
        EXPECT_EQ(makeStreamJoinable(joiner, work.data(), stream.size() / 2, work.size()), 0u)
            << smooth;
        work[stream.size()] = 0x55;
        EXPECT_EQ(makeStreamJoinable(joiner, work.data(), stream.size() + 1, work.size()), 0u)
            << smooth;
        // No room for the empty stored block.
        EXPECT_EQ(makeStreamJoinable(joiner, work.data(), stream.size(), stream.size() + 4), 0u)
            << smooth;
        EXPECT_GT(makeStreamJoinable(joiner, work.data(), stream.size(), work.size()), 0u)
            << smooth;
    }
    libdeflate_free_compressor(compressor);
    stopDeflateJoiner(joiner);
}

} // namespace
