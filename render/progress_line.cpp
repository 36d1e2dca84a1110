#include "render/progress_line.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "texture/parallel.h"
#include "texture/texture.h"

namespace {

const std::chrono::milliseconds SHOW_AFTER(SHOW_PROGRESS_AFTER_MS);
const std::chrono::milliseconds TICK(50);

// How long writing the picture takes, in the units of the steps' costs.
// Measured at 8192 on two threads: a PNG takes from 12 (a flat texture) to
// 70 to 140 (a noisy plasma) inverts' time to encode, a BMP about 8 to write.
const double PNG_WRITE_COST = 50;
const double BMP_WRITE_COST = 8;
// And working out a normal map.
const double NORMAL_MAP_COST = 12;

// The share of the current split operation that is done, 0..1.
double operationFraction()
{
    int32_t done, total;
    operationProgress(&done, &total);
    return total > 0 ? (double)done / total : 0.0;
}

// The text of the line at this moment.
std::string lineText(const ProgressLine& line)
{
    const double replayWork = totalWork(line.work);
    double total = replayWork + line.normalMapWork + line.writeWork;
    double done;
    std::string what;
    int32_t step = line.step;
    if (line.writing) {
        // The rows show that a long write goes on even when the percentage
        // moves slowly.
        int32_t rows = std::clamp(line.rowsWritten.load(), 0, line.side);
        double files = line.filesWritten + (double)rows / line.side;
        done = replayWork + line.normalMapWork + line.writeWork * files / line.fileCount;
        what = std::string("writing ") + line.output.load() + ", " + std::to_string(rows) + " of "
            + std::to_string(line.side) + " rows";
    } else if (line.normalMap) {
        done = replayWork + line.normalMapWork * operationFraction();
        what = "normal map";
    } else if (step >= 0 && step < (int32_t)line.work.steps.size()) {
        done = workDone(line.work, step, line.application + operationFraction());
        char text[96];
        formatStepOfSteps(text, sizeof text, "step", line.work, step);
        what = text;
    } else {
        done = 0;
        what = "starting";
    }
    int percent = total > 0 ? (int)(100 * done / total) : 0;
    percent = std::clamp(percent, 0, 99);
    return "quiltor-render: " + std::to_string(line.side) + "\u00D7" + std::to_string(line.side)
        + ", " + what + ", " + std::to_string(percent) + "%";
}

void* showProgress(void* argument)
{
    ProgressLine& line = *(ProgressLine*)argument;
    const auto start = std::chrono::steady_clock::now();
    int32_t ticks = 0;
    while (!line.finished) {
        std::this_thread::sleep_for(TICK);
        if (line.finished || std::chrono::steady_clock::now() - start < SHOW_AFTER)
            continue;
        // Five times a second is enough to see it move.
        if (ticks++ % 4 != 0)
            continue;
        // Carriage return, the text, then clear what a longer text left.
        fprintf(stderr, "\r%s\033[K", lineText(line).c_str());
        fflush(stderr);
        line.shown = true;
    }
    return nullptr;
}

} // namespace

void startProgressLine(ProgressLine& line, const RenderPlan& plan, int32_t side, const char* output,
    bool png, bool normalMap, int32_t fileCount)
{
    line.plan = &plan;
    line.side = side;
    line.output = output;
    line.work = workOfPlan(plan);
    line.normalMapWork = normalMap ? NORMAL_MAP_COST : 0;
    line.fileCount = fileCount;
    line.writeWork = fileCount * (png ? PNG_WRITE_COST : BMP_WRITE_COST);
    // A material works out its heights and normal map between its writes.
    if (fileCount > 1)
        line.writeWork += 2 * NORMAL_MAP_COST;
    line.running = pthread_create(&line.thread, nullptr, showProgress, &line) == 0;
}

void reportStep(ProgressLine& line, int32_t step, int32_t application)
{
    line.application = application;
    line.step = step;
}

void reportNormalMap(ProgressLine& line)
{
    line.normalMap = true;
}

void reportWriting(ProgressLine& line)
{
    line.writing = true;
}

void reportWritingFile(ProgressLine& line, const char* output, int32_t index)
{
    line.rowsWritten = 0;
    line.output = output;
    line.filesWritten = index;
    line.writing = true;
}

void reportRowsWritten(ProgressLine& line, int32_t rows)
{
    line.rowsWritten = rows;
}

void stopProgressLine(ProgressLine& line)
{
    if (!line.running)
        return;
    line.finished = true;
    pthread_join(line.thread, nullptr);
    line.running = false;
    if (line.shown) {
        fputs("\r\033[K", stderr);
        fflush(stderr);
    }
}
