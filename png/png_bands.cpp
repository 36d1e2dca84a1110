#include "png/png_bands.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <libdeflate.h>
#include <pthread.h>
#include <zlib.h>

#include "png/deflate_join.h"
#include "png/png_chunks.h"
#include "texture/parallel.h"

namespace {

// Bands held at once per thread: enough that a thread finishing early finds
// another band to take while the file catches up.
const int32_t BANDS_IN_FLIGHT_PER_THREAD = 3;

// Bytes of samples in one row, without the filter's type byte.
size_t sampleBytes(int32_t side, int32_t bits, bool grey, bool alpha)
{
    return (size_t)side * (grey ? 1 : alpha ? 4 : 3) * (size_t)(bits / 8);
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

struct BandCompressor;

// What every thread shares while a PNG is written, under `lock`.
struct Pipeline {
    const BandedPng* png;
    PngEncoding encoding;
    const BandCompressor* compressor; // the encoding's, chosen once
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

// A thread's own tools for compressing bands: its rows, and zlib's deflate
// stream or libdeflate's compressor and the joiner of its streams.
struct Compressor {
    const BandCompressor* kind = nullptr;
    uint8_t* rows = nullptr; // the row above, the row and a spare
    uint8_t* filtered = nullptr; // the filtered rows the compressor holds
    size_t filteredStep = 0; // from one filtered row to the next
    z_stream stream {};
    bool streamReady = false;
    libdeflate_compressor* libdeflate = nullptr;
    DeflateJoiner joiner;
};

// Where a filtered row falls in the band, and the band in the image.
enum RowPlace {
    ROW_WITHIN_BAND,
    LAST_ROW_OF_BAND,
    LAST_ROW_OF_IMAGE,
};

// How a band's filtered rows become deflate bytes, one row of this table
// per library. Every band but the last ends on a byte boundary in an empty
// stored block, as a sync flush ends it, so the next band's bytes can follow
// it in the stream; the last ends the stream.
struct BandCompressor {
    // Sets up the library and the filtered rows it holds; false when memory
    // runs out. stopCompressor undoes it either way.
    bool (*start)(Compressor&, const PngEncoding&, size_t rowBytes, int32_t bandRows);
    void (*startBand)(Compressor&, Band&);
    // Takes the band's next filtered row; the band's last row ends its
    // bytes. Null, or why it failed.
    const char* (*takeRow)(Compressor&, Band&, const uint8_t* row, size_t rowBytes, RowPlace);
};

// zlib takes each row as it is filtered, into raw deflate (negative window
// bits): the zlib header and checksum are written once for the whole stream.
bool startZlib(Compressor& compressor, const PngEncoding& encoding, size_t rowBytes, int32_t)
{
    compressor.filtered = (uint8_t*)malloc(rowBytes);
    compressor.filteredStep = 0;
    if (!compressor.filtered)
        return false;
    static const int STRATEGIES[] = { Z_DEFAULT_STRATEGY, Z_RLE, Z_HUFFMAN_ONLY };
    compressor.streamReady = deflateInit2(&compressor.stream, encoding.level, Z_DEFLATED, -15, 8,
                                 STRATEGIES[encoding.matching])
        == Z_OK;
    return compressor.streamReady;
}

void startZlibBand(Compressor& compressor, Band& band)
{
    z_stream& stream = compressor.stream;
    deflateReset(&stream);
    stream.next_out = band.bytes;
    stream.avail_out = (uInt)band.capacity;
}

const char* takeZlibRow(
    Compressor& compressor, Band& band, const uint8_t* row, size_t rowBytes, RowPlace place)
{
    z_stream& stream = compressor.stream;
    stream.next_in = (Bytef*)row;
    stream.avail_in = (uInt)rowBytes;
    const int flush = place == ROW_WITHIN_BAND ? Z_NO_FLUSH
        : place == LAST_ROW_OF_IMAGE           ? Z_FINISH
                                               : Z_SYNC_FLUSH;
    const int result = deflate(&stream, flush);
    if (stream.avail_in != 0 || (result != Z_OK && result != Z_STREAM_END))
        return "the compressor failed";
    if (place != ROW_WITHIN_BAND)
        band.size = band.capacity - stream.avail_out;
    return nullptr;
}

// libdeflate compresses only whole buffers: the band's filtered rows are
// gathered, and compressed at its last row into a whole stream, which every
// band but the last then makes joinable.
bool startLibdeflate(
    Compressor& compressor, const PngEncoding& encoding, size_t rowBytes, int32_t bandRows)
{
    compressor.filtered = (uint8_t*)malloc((size_t)bandRows * rowBytes);
    compressor.filteredStep = rowBytes;
    if (!compressor.filtered)
        return false;
    compressor.libdeflate = libdeflate_alloc_compressor(encoding.level);
    return compressor.libdeflate && startDeflateJoiner(compressor.joiner);
}

void startLibdeflateBand(Compressor&, Band&)
{
}

const char* takeLibdeflateRow(
    Compressor& compressor, Band& band, const uint8_t*, size_t, RowPlace place)
{
    if (place == ROW_WITHIN_BAND)
        return nullptr;
    band.size = libdeflate_deflate_compress(compressor.libdeflate, compressor.filtered,
        band.filteredSize, band.bytes, band.capacity - JOINABLE_STREAM_GROWTH);
    if (band.size != 0 && place != LAST_ROW_OF_IMAGE)
        band.size = makeStreamJoinable(compressor.joiner, band.bytes, band.size, band.capacity);
    return band.size == 0 ? "the compressor failed" : nullptr;
}

// By PngCompressor.
const BandCompressor BAND_COMPRESSORS[] = {
    { startZlib, startZlibBand, takeZlibRow },
    { startLibdeflate, startLibdeflateBand, takeLibdeflateRow },
};

// Sets up a compressor for the image's rows; false when memory runs out.
bool startCompressor(Compressor& compressor, const Pipeline& pipeline)
{
    const BandedPng& png = *pipeline.png;
    const size_t length = sampleBytes(png.side, png.bits, png.grey, png.alpha);
    compressor.kind = pipeline.compressor;
    compressor.rows = (uint8_t*)malloc(3 * (length + 1));
    return compressor.rows
        && compressor.kind->start(compressor, pipeline.encoding, length + 1, pipeline.bandRows);
}

void stopCompressor(Compressor& compressor)
{
    if (compressor.streamReady)
        deflateEnd(&compressor.stream);
    if (compressor.libdeflate)
        libdeflate_free_compressor(compressor.libdeflate);
    stopDeflateJoiner(compressor.joiner);
    free(compressor.rows);
    free(compressor.filtered);
}

// Filters and compresses band `index` into `band`. Null, or why it failed.
const char* compressBand(
    Compressor& compressor, const Pipeline& pipeline, int32_t index, Band& band)
{
    const BandedPng& png = *pipeline.png;
    const size_t length = sampleBytes(png.side, png.bits, png.grey, png.alpha);
    const size_t pixelBytes = (png.grey ? 1 : png.alpha ? 4 : 3) * (size_t)(png.bits / 8);
    const int32_t first = index * pipeline.bandRows;
    const int32_t end = std::min(png.side, first + pipeline.bandRows);
    uint8_t* above = compressor.rows;
    uint8_t* row = above + length + 1;
    uint8_t* spare = row + length + 1;
    if (first == 0)
        memset(above, 0, length);
    else
        png.fillRow(png.image, first - 1, above);

    band.filteredSize = (size_t)(end - first) * (length + 1);
    band.adler = adler32(0, nullptr, 0);
    compressor.kind->startBand(compressor, band);
    for (int32_t y = first; y < end; ++y) {
        png.fillRow(png.image, y, row);
        uint8_t* filtered = compressor.filtered + (size_t)(y - first) * compressor.filteredStep;
        filterRow(pipeline.encoding.filter, row, above, length, pixelBytes, filtered, spare);
        band.adler = adler32(band.adler, filtered, (uInt)(length + 1));
        std::swap(above, row);
        const RowPlace place = y + 1 < end ? ROW_WITHIN_BAND
            : end == png.side              ? LAST_ROW_OF_IMAGE
                                           : LAST_ROW_OF_BAND;
        const char* failure
            = compressor.kind->takeRow(compressor, band, filtered, length + 1, place);
        if (failure)
            return failure;
    }
    band.crc = (uint32_t)crc32(0, band.bytes, (uInt)band.size);
    return nullptr;
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
        const bool written = writeImageDataChunk(file, band.bytes, band.size, band.crc, header,
            index == 0 ? 2 : 0, checksum, last ? 4 : 0);
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
        = (size_t)pipeline.bandRows * (sampleBytes(png.side, png.bits, png.grey, png.alpha) + 1);
    // zlib's worst case (deflateBound's with a few bytes more for the sync
    // flush's empty stored block) or libdeflate's and its joining's.
    const size_t capacity = std::max(filtered + filtered / 1000 + filtered / 16000 * 5 + 64,
        libdeflate_deflate_compress_bound(nullptr, filtered) + JOINABLE_STREAM_GROWTH);
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

int32_t rowsPerBand(int32_t side, int32_t bits, bool grey, bool alpha)
{
    const size_t rowSize = sampleBytes(side, bits, grey, alpha) + 1;
    return (int32_t)std::clamp(BAND_BYTES / rowSize, (size_t)1, (size_t)std::max(side, 1));
}

const char* writeBandedPng(const BandedPng& png, const PngEncoding& encoding, FILE* file)
{
    errno = 0;
    if (!writePngStart(file, png.side, png.bits, png.grey, png.alpha))
        return strerror(errno ? errno : EIO);
    Pipeline pipeline;
    pipeline.png = &png;
    pipeline.encoding = encoding;
    pipeline.compressor = &BAND_COMPRESSORS[encoding.compressor];
    pipeline.bandRows = rowsPerBand(png.side, png.bits, png.grey, png.alpha);
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
    return writePngEnd(file) ? nullptr : strerror(errno ? errno : EIO);
}
