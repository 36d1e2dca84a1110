// Splitting an operation's rows across threads. Each row's result depends
// only on the operation's inputs, never on which thread works it out or
// when, so a texture comes out the same bit for bit with any thread count.
#pragma once

#include <cstddef>
#include <cstdint>

// Textures below this many pixels are worked on by the calling thread
// alone: starting threads would cost more than they save, and the window's
// 256 x 256 textures stay single-threaded.
const size_t PARALLEL_PIXELS = (size_t)512 * 512;

// The most threads an operation may use; a program asking for more gets these.
const int32_t MAX_OPERATION_THREADS = 256;

// How many threads an operation on a large texture may use: 1 until a
// program asks for more.
void setOperationThreads(int32_t count);
int32_t operationThreads();

// The number of processors the system lets this process use, at least 1.
int32_t availableProcessors();

// Work on the items [begin, end) of a range, such as rows.
typedef void (*RangeWork)(void* context, int32_t begin, int32_t end);

// Runs `work` over [0, count) and returns once all of it is done: in one
// call on this thread when the texture has fewer than PARALLEL_PIXELS pixels
// or one thread is allowed, else in pieces taken in turn by up to
// operationThreads() threads, this one among them. If a thread cannot be
// started, the others do its share.
void runInPieces(int32_t count, size_t pixels, RangeWork work, void* context);

// runInPieces with any callable taking (begin, end).
template <class Work> void forEachRange(int32_t count, size_t pixels, const Work& work)
{
    runInPieces(
        count, pixels,
        [](void* context, int32_t begin, int32_t end) { (*(const Work*)context)(begin, end); },
        (void*)&work);
}

// How far the split operation running now has got: pieces done and pieces
// in all, both 0 while none runs. Read by a progress display on another thread.
void operationProgress(int32_t* done, int32_t* total);
