#include "texture/parallel.h"

#include <algorithm>
#include <atomic>
#include <pthread.h>
#include <thread>

namespace {

// More pieces than threads, so that a thread that finishes early takes
// another piece instead of waiting, and progress moves in small steps.
const int32_t PIECES_PER_THREAD = 16;

std::atomic<int32_t> allowedThreads { 1 };
std::atomic<int32_t> piecesDone { 0 };
std::atomic<int32_t> piecesTotal { 0 };

struct Job {
    RangeWork work;
    void* context;
    int32_t count;
    int32_t pieces;
    std::atomic<int32_t> next { 0 };
};

// Takes pieces until none is left.
void* takePieces(void* argument)
{
    Job* job = (Job*)argument;
    for (;;) {
        int32_t piece = job->next.fetch_add(1);
        if (piece >= job->pieces)
            break;
        int32_t begin = (int32_t)((int64_t)job->count * piece / job->pieces);
        int32_t end = (int32_t)((int64_t)job->count * (piece + 1) / job->pieces);
        job->work(job->context, begin, end);
        piecesDone.fetch_add(1);
    }
    return nullptr;
}

} // namespace

void setOperationThreads(int32_t count)
{
    allowedThreads = std::clamp(count, 1, MAX_OPERATION_THREADS);
}

int32_t operationThreads()
{
    return allowedThreads;
}

int32_t availableProcessors()
{
    unsigned count = std::thread::hardware_concurrency();
    return count < 1 ? 1 : (int32_t)std::min(count, (unsigned)MAX_OPERATION_THREADS);
}

void runInPieces(int32_t count, size_t pixels, RangeWork work, void* context)
{
    if (count <= 0)
        return;
    int32_t threads = std::min(operationThreads(), count);
    if (threads <= 1 || pixels < PARALLEL_PIXELS) {
        work(context, 0, count);
        return;
    }
    Job job;
    job.work = work;
    job.context = context;
    job.count = count;
    job.pieces = std::min(count, threads * PIECES_PER_THREAD);
    piecesDone = 0;
    piecesTotal = job.pieces;
    pthread_t helpers[MAX_OPERATION_THREADS];
    int32_t started = 0;
    for (int32_t i = 1; i < threads; ++i)
        if (pthread_create(&helpers[started], nullptr, takePieces, &job) == 0)
            ++started;
    takePieces(&job);
    for (int32_t i = 0; i < started; ++i)
        pthread_join(helpers[i], nullptr);
    piecesTotal = 0;
    piecesDone = 0;
}

void operationProgress(int32_t* done, int32_t* total)
{
    *total = piecesTotal;
    *done = std::min(piecesDone.load(), *total);
}
