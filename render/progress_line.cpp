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
// Recorded far oftener than drawn, so that a record holds even the short
// moments between an operation's passes.
const std::chrono::milliseconds RECORD_TICK(2);

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

ProgressRecorder recorder = nullptr;
void* recorderContext = nullptr;

// The text of the line at this moment, its share never below what it has
// shown before. Under the line's lock: the render's reports and the line's
// thread both work it out.
std::string lineText(ProgressLine& line)
{
    std::lock_guard<std::mutex> lock(line.textLock);
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
        what = line.mapName.load();
    } else if (step >= 0 && step < (int32_t)line.work.steps.size()) {
        done = workDone(line.work, step, line.application + operationFraction());
        char text[96];
        formatStepOfSteps(text, sizeof text, "step", line.work, step);
        what = text;
    } else {
        done = 0;
        what = "starting";
    }
    done = std::max(done, line.mostDone);
    line.mostDone = done;
    int percent = total > 0 ? (int)(100 * done / total) : 0;
    percent = std::clamp(percent, 0, 99);
    return "quiltor-render: " + std::to_string(line.side) + "\u00D7" + std::to_string(line.side)
        + ", " + what + ", " + std::to_string(percent) + "%";
}

// Hands the text at this moment to the recorder, if one is set. Under a
// lock of its own, held from working the text out to handing it on, so the
// texts of the render's reports and of the line's thread reach the
// recorder in the order their shares were worked out.
void recordText(ProgressLine& line)
{
    if (!recorder)
        return;
    std::lock_guard<std::mutex> lock(line.recordLock);
    recorder(recorderContext, lineText(line));
}

// The same for a report of the render, which comes whether or not the line
// was started.
void recordReport(ProgressLine& line)
{
    if (line.running)
        recordText(line);
}

// The line's thread: it draws, or records, until the render is done.
void* showProgress(void* argument)
{
    ProgressLine& line = *(ProgressLine*)argument;
    const auto start = std::chrono::steady_clock::now();
    int32_t ticks = 0;
    while (!line.finished) {
        if (recorder) {
            std::this_thread::sleep_for(RECORD_TICK);
            recordText(line);
            continue;
        }
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

void recordProgressLines(ProgressRecorder record, void* context)
{
    recorder = record;
    recorderContext = context;
}

void startProgressLine(ProgressLine& line, const RenderPlan& plan, int32_t side, const char* output,
    bool png, const PictureKindRow& picture)
{
    line.plan = &plan;
    line.side = side;
    line.output = output;
    line.work = workOfPlan(plan);
    line.normalMapWork = picture.passesBeforeWriting * NORMAL_MAP_COST;
    line.fileCount = picture.fileCount;
    line.writeWork = picture.fileCount * (png ? PNG_WRITE_COST : BMP_WRITE_COST)
        + picture.passesAmongWrites * NORMAL_MAP_COST;
    line.running = pthread_create(&line.thread, nullptr, showProgress, &line) == 0;
}

void reportStep(ProgressLine& line, int32_t step, int32_t application)
{
    line.application = application;
    line.step = step;
    recordReport(line);
}

void reportNormalMap(ProgressLine& line)
{
    reportMapPass(line, "normal map");
}

void reportMapPass(ProgressLine& line, const char* name)
{
    line.mapName = name;
    line.normalMap = true;
    recordReport(line);
}

void reportWriting(ProgressLine& line)
{
    line.writing = true;
    recordReport(line);
}

void reportWritingFile(ProgressLine& line, const char* output, int32_t index)
{
    line.rowsWritten = 0;
    line.output = output;
    line.filesWritten = index;
    line.writing = true;
    recordReport(line);
}

void reportRowsWritten(ProgressLine& line, int32_t rows)
{
    line.rowsWritten = rows;
    recordReport(line);
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
