#include "png/png_bands.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <libdeflate.h>
#include <pthread.h>
#include <zlib.h>

#include "png/deflate_join.h"
#include "texture/parallel.h"

namespace {

// Bands held at once per thread: enough that a thread finishing early finds
// another band to take while the file catches up.
const int32_t BANDS_IN_FLIGHT_PER_THREAD = 3;

// Bytes of samples in one row, without the filter's type byte.
size_t sampleBytes(int32_t side, int32_t bits, bool grey)
{
    return (size_t)side * (grey ? 1 : 3) * (size_t)(bits / 8);
}

// One band, compressed, waiting for its turn in the file.
struct Band {
    uint8_t* bytes = nullptr; // raw deflate, ending on a byte boundary
    size_t capacity = 0;
    size_t size = 0;
    uint32_t adler = 1; // of the band's filtered rows alone
    size_t filteredSize = 0;
    uint32_t crc = 0; // of `bytes`
    bool ready = false;
};

// What every thread shares while a PNG is written, under `lock`.
struct Pipeline {
    const BandedPng* png;
    PngEncoding encoding;
    int32_t bandRows;
    int32_t bands;
    Band* slots;
    int32_t slotCount;
    int32_t nextToTake = 0;
    int32_t nextToWrite = 0;
    const char* failure = nullptr;
    pthread_mutex_t lock;
    pthread_cond_t changed;
};

// A thread's own tools for compressing bands: zlib's deflate stream, or
// libdeflate's compressor and the joiner of its streams, and rows.
struct Compressor {
    z_stream stream {};
    bool streamReady = false;
    libdeflate_compressor* whole = nullptr;
    DeflateJoiner joiner;
    uint8_t* rows = nullptr; // the row above, the row and a spare
    uint8_t* filtered = nullptr; // zlib's one filtered row, libdeflate's whole band
};

// Sets up a compressor for the image's rows; false when memory runs out.
bool startCompressor(Compressor& compressor, const Pipeline& pipeline)
{
    const BandedPng& png = *pipeline.png;
    const PngEncoding& encoding = pipeline.encoding;
    const size_t length = sampleBytes(png.side, png.bits, png.grey);
    const bool whole = encoding.compressor == PNG_LIBDEFLATE;
    compressor.rows = (uint8_t*)malloc(3 * (length + 1));
    compressor.filtered = (uint8_t*)malloc((whole ? pipeline.bandRows : 1) * (length + 1));
    if (!compressor.rows || !compressor.filtered)
        return false;
    if (whole) {
        compressor.whole = libdeflate_alloc_compressor(encoding.level);
        return compressor.whole && startDeflateJoiner(compressor.joiner);
    }
    // Raw deflate (negative window bits): the zlib header and checksum are
    // written once for the whole stream.
    static const int STRATEGIES[] = { Z_DEFAULT_STRATEGY, Z_RLE, Z_HUFFMAN_ONLY };
    compressor.streamReady = deflateInit2(&compressor.stream, encoding.level, Z_DEFLATED, -15, 8,
                                 STRATEGIES[encoding.matching])
        == Z_OK;
    return compressor.streamReady;
}

void stopCompressor(Compressor& compressor)
{
    if (compressor.streamReady)
        deflateEnd(&compressor.stream);
    if (compressor.whole)
        libdeflate_free_compressor(compressor.whole);
    stopDeflateJoiner(compressor.joiner);
    free(compressor.rows);
    free(compressor.filtered);
}

// Compresses a band's filtered rows, gathered whole, with libdeflate. Every
// band but the last is made to go on, as a sync flush would leave it.
const char* compressWhole(Compressor& compressor, bool last, Band& band)
{
    band.size = libdeflate_deflate_compress(compressor.whole, compressor.filtered,
        band.filteredSize, band.bytes, band.capacity - DEFLATE_GO_ON_BYTES);
    if (band.size != 0 && !last)
        band.size = makeDeflateGoOn(compressor.joiner, band.bytes, band.size, band.capacity);
    return band.size == 0 ? "the compressor failed" : nullptr;
}

// Filters and compresses band `index` into `band`. Every band but the last
// ends with a sync flush, on a byte boundary, so the next band's bytes can
// follow it in the stream; the last ends the stream. Null, or why it failed.
const char* compressBand(
    Compressor& compressor, const Pipeline& pipeline, int32_t index, Band& band)
{
    const BandedPng& png = *pipeline.png;
    const size_t length = sampleBytes(png.side, png.bits, png.grey);
    const size_t pixelBytes = (png.grey ? 1 : 3) * (size_t)(png.bits / 8);
    const int32_t first = index * pipeline.bandRows;
    const int32_t end = std::min(png.side, first + pipeline.bandRows);
    const bool whole = pipeline.encoding.compressor == PNG_LIBDEFLATE;
    uint8_t* above = compressor.rows;
    uint8_t* row = above + length + 1;
    uint8_t* spare = row + length + 1;
    if (first == 0)
        memset(above, 0, length);
    else
        png.fillRow(png.image, first - 1, above);

    z_stream& stream = compressor.stream;
    if (!whole) {
        deflateReset(&stream);
        stream.next_out = band.bytes;
        stream.avail_out = (uInt)band.capacity;
    }
    band.adler = adler32(0, nullptr, 0);
    for (int32_t y = first; y < end; ++y) {
        png.fillRow(png.image, y, row);
        uint8_t* filtered = compressor.filtered + (whole ? (size_t)(y - first) * (length + 1) : 0);
        filterRow(pipeline.encoding.filter, row, above, length, pixelBytes, filtered, spare);
        band.adler = adler32(band.adler, filtered, (uInt)(length + 1));
        std::swap(above, row);
        if (whole)
            continue;
        stream.next_in = filtered;
        stream.avail_in = (uInt)(length + 1);
        const bool last = y + 1 == end;
        const int flush = !last ? Z_NO_FLUSH : end == png.side ? Z_FINISH : Z_SYNC_FLUSH;
        const int result = deflate(&stream, flush);
        if (stream.avail_in != 0 || (result != Z_OK && result != Z_STREAM_END))
            return "the compressor failed";
    }
    band.filteredSize = (size_t)(end - first) * (length + 1);
    const char* failure = nullptr;
    if (whole)
        failure = compressWhole(compressor, end == png.side, band);
    else
        band.size = band.capacity - stream.avail_out;
    band.crc = (uint32_t)crc32(0, band.bytes, (uInt)band.size);
    return failure;
}

// Takes the next band when there is one and room to hold it; the caller
// holds the lock. -1 when there is none to take now.
int32_t takeBand(Pipeline& pipeline)
{
    if (pipeline.failure || pipeline.nextToTake >= pipeline.bands
        || pipeline.nextToTake >= pipeline.nextToWrite + pipeline.slotCount)
        return -1;
    return pipeline.nextToTake++;
}

// Compresses a taken band, lock released meanwhile, and tells the others.
void compressTaken(Compressor& compressor, Pipeline& pipeline, int32_t index)
{
    Band& band = pipeline.slots[index % pipeline.slotCount];
    pthread_mutex_unlock(&pipeline.lock);
    const char* failure = compressBand(compressor, pipeline, index, band);
    pthread_mutex_lock(&pipeline.lock);
    band.ready = true;
    if (failure && !pipeline.failure)
        pipeline.failure = failure;
    pthread_cond_broadcast(&pipeline.changed);
}

// A helper thread: compresses bands until none is left or a write failed.
void* compressBands(void* argument)
{
    Pipeline& pipeline = *(Pipeline*)argument;
    Compressor compressor;
    const bool started = startCompressor(compressor, pipeline);
    pthread_mutex_lock(&pipeline.lock);
    while (started && !pipeline.failure && pipeline.nextToTake < pipeline.bands) {
        const int32_t index = takeBand(pipeline);
        if (index < 0)
            pthread_cond_wait(&pipeline.changed, &pipeline.lock);
        else
            compressTaken(compressor, pipeline, index);
    }
    pthread_mutex_unlock(&pipeline.lock);
    stopCompressor(compressor);
    return nullptr;
}

// Puts a number as PNG keeps it, most significant byte first.
void putBigEndian(uint8_t* target, uint32_t value)
{
    target[0] = (uint8_t)(value >> 24);
    target[1] = (uint8_t)(value >> 16);
    target[2] = (uint8_t)(value >> 8);
    target[3] = (uint8_t)value;
}

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

// The PNG signature and its header chunk.
bool writeStart(FILE* file, const BandedPng& png)
{
    static const uint8_t signature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    uint8_t header[13];
    putBigEndian(header, (uint32_t)png.side);
    putBigEndian(header + 4, (uint32_t)png.side);
    header[8] = (uint8_t)png.bits;
    header[9] = png.grey ? 0 : 2; // colour type: grey, or RGB
    header[10] = header[11] = header[12] = 0; // deflate, adaptive filters, not interlaced
    return fwrite(signature, 1, 8, file) == 8 && writeSmallChunk(file, "IHDR", header, 13);
}

// The zlib stream's two-byte header for a level, as zlib itself writes it.
void putZlibHeader(uint8_t* target, int32_t level)
{
    const int flags = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    uint32_t header = (0x78 << 8) | (uint32_t)(flags << 6);
    header += 31 - header % 31;
    target[0] = (uint8_t)(header >> 8);
    target[1] = (uint8_t)header;
}

// Writes a band as one IDAT chunk: the first also holds the zlib header,
// the last the stream's checksum. Its CRC joins the band's own.
bool writeBandChunk(FILE* file, const Band& band, const uint8_t* before, uint32_t beforeSize,
    const uint8_t* after, uint32_t afterSize)
{
    const uint32_t length = beforeSize + (uint32_t)band.size + afterSize;
    uint8_t head[8];
    putBigEndian(head, length);
    static const uint8_t IDAT[4] = { 'I', 'D', 'A', 'T' };
    memcpy(head + 4, IDAT, 4);
    uLong crc = crc32(crc32(0, head + 4, 4), before, beforeSize);
    crc = crc32_combine(crc, band.crc, (z_off_t)band.size);
    crc = crc32(crc, after, afterSize);
    uint8_t tail[4];
    putBigEndian(tail, (uint32_t)crc);
    return fwrite(head, 1, 8, file) == 8 && fwrite(before, 1, beforeSize, file) == beforeSize
        && fwrite(band.bytes, 1, band.size, file) == band.size
        && fwrite(after, 1, afterSize, file) == afterSize && fwrite(tail, 1, 4, file) == 4;
}

// The calling thread's part: writes each band as soon as it is its turn,
// compressing others while it waits. Holds the lock but while working.
void writeBands(Pipeline& pipeline, Compressor& compressor, FILE* file)
{
    const BandedPng& png = *pipeline.png;
    uLong adler = adler32(0, nullptr, 0);
    pthread_mutex_lock(&pipeline.lock);
    while (!pipeline.failure && pipeline.nextToWrite < pipeline.bands) {
        const int32_t index = pipeline.nextToWrite;
        Band& band = pipeline.slots[index % pipeline.slotCount];
        if (!band.ready) {
            const int32_t taken = takeBand(pipeline);
            if (taken < 0)
                pthread_cond_wait(&pipeline.changed, &pipeline.lock);
            else
                compressTaken(compressor, pipeline, taken);
            continue;
        }
        pthread_mutex_unlock(&pipeline.lock);
        adler = adler32_combine(adler, band.adler, (z_off_t)band.filteredSize);
        uint8_t header[2];
        putZlibHeader(header, pipeline.encoding.level);
        uint8_t checksum[4];
        putBigEndian(checksum, (uint32_t)adler);
        const bool last = index + 1 == pipeline.bands;
        const bool written
            = writeBandChunk(file, band, header, index == 0 ? 2 : 0, checksum, last ? 4 : 0);
        const int32_t rows = std::min(png.side, (index + 1) * pipeline.bandRows);
        if (written && png.rowsWritten)
            png.rowsWritten(png.context, rows);
        pthread_mutex_lock(&pipeline.lock);
        if (!written && !pipeline.failure)
            pipeline.failure = strerror(errno ? errno : EIO);
        band.ready = false;
        ++pipeline.nextToWrite;
        pthread_cond_broadcast(&pipeline.changed);
    }
    pthread_mutex_unlock(&pipeline.lock);
}

// Gives each slot room for a band's worst case; false when memory runs out.
bool makeSlots(Pipeline& pipeline)
{
    const BandedPng& png = *pipeline.png;
    const size_t filtered
        = (size_t)pipeline.bandRows * (sampleBytes(png.side, png.bits, png.grey) + 1);
    // zlib's worst case (deflateBound's with a few bytes more for the sync
    // flush's empty stored block) or libdeflate's and its joining's.
    const size_t capacity = std::max(filtered + filtered / 1000 + filtered / 16000 * 5 + 64,
        libdeflate_deflate_compress_bound(nullptr, filtered) + DEFLATE_GO_ON_BYTES);
    for (int32_t i = 0; i < pipeline.slotCount; ++i) {
        pipeline.slots[i].bytes = (uint8_t*)malloc(capacity);
        pipeline.slots[i].capacity = capacity;
        if (!pipeline.slots[i].bytes)
            return false;
    }
    return true;
}

// Compresses and writes every band with the calling thread and helpers.
const char* writeAllBands(Pipeline& pipeline, int32_t threads, FILE* file)
{
    Compressor compressor;
    if (!startCompressor(compressor, pipeline)) {
        stopCompressor(compressor);
        return strerror(ENOMEM);
    }
    pthread_t helpers[256];
    int32_t started = 0;
    for (int32_t i = 1; i < std::min(threads, 256); ++i)
        if (pthread_create(&helpers[started], nullptr, compressBands, &pipeline) == 0)
            ++started;
    errno = 0;
    writeBands(pipeline, compressor, file);
    pthread_mutex_lock(&pipeline.lock);
    pthread_cond_broadcast(&pipeline.changed);
    pthread_mutex_unlock(&pipeline.lock);
    for (int32_t i = 0; i < started; ++i)
        pthread_join(helpers[i], nullptr);
    stopCompressor(compressor);
    return pipeline.failure;
}

} // namespace

int32_t rowsPerBand(int32_t side, int32_t bits, bool grey)
{
    const size_t rowSize = sampleBytes(side, bits, grey) + 1;
    return (int32_t)std::clamp(BAND_BYTES / rowSize, (size_t)1, (size_t)std::max(side, 1));
}

const char* writeBandedPng(const BandedPng& png, const PngEncoding& encoding, FILE* file)
{
    errno = 0;
    if (!writeStart(file, png))
        return strerror(errno ? errno : EIO);
    Pipeline pipeline;
    pipeline.png = &png;
    pipeline.encoding = encoding;
    pipeline.bandRows = rowsPerBand(png.side, png.bits, png.grey);
    pipeline.bands = (png.side + pipeline.bandRows - 1) / pipeline.bandRows;
    const int32_t threads = std::min(operationThreads(), pipeline.bands);
    pipeline.slotCount = std::min(pipeline.bands, threads * BANDS_IN_FLIGHT_PER_THREAD);
    Band* slots = new Band[pipeline.slotCount];
    pipeline.slots = slots;
    pthread_mutex_init(&pipeline.lock, nullptr);
    pthread_cond_init(&pipeline.changed, nullptr);
    const char* failure
        = makeSlots(pipeline) ? writeAllBands(pipeline, threads, file) : strerror(ENOMEM);
    pthread_cond_destroy(&pipeline.changed);
    pthread_mutex_destroy(&pipeline.lock);
    for (int32_t i = 0; i < pipeline.slotCount; ++i)
        free(slots[i].bytes);
    delete[] slots;
    if (failure)
        return failure;
    errno = 0;
    static const uint8_t nothing[1] = { 0 }; // zlib's crc32 takes null as "start again"
    return writeSmallChunk(file, "IEND", nothing, 0) ? nullptr : strerror(errno ? errno : EIO);
}
