// One line on standard error that shows how far a long render has got:
// the size, the step being run and a percentage, updated in place from a
// thread of its own, and cleared at the end. It shows only once the render
// has taken half a second.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <pthread.h>
#include <string>

#include "render/picture_kind.h"

#include "session/render_plan.h"
#include "session/replay_work.h"

struct ProgressLine {
    // Set by the render as it goes, read by the line's thread.
    std::atomic<int32_t> step { -1 }; // the plan's step being run, or -1
    std::atomic<int32_t> application { 0 }; // of that step's repeats
    std::atomic<bool> normalMap { false }; // working out the normal map, or another
    std::atomic<const char*> mapName { "normal map" }; // the map being worked out
    std::atomic<bool> writing { false };
    std::atomic<int32_t> rowsWritten { 0 }; // of the picture, while writing
    std::atomic<int32_t> filesWritten { 0 }; // of a material's files, before this one
    std::atomic<const char*> output { nullptr }; // the file being written
    std::atomic<bool> finished { false };

    const RenderPlan* plan = nullptr;
    ReplayWork work; // the plan's steps and the work before each
    double normalMapWork = 0; // 0 when the render writes colours
    double writeWork = 0; // every file's, a material's heights and normals included
    int32_t fileCount = 1;
    int32_t side = 0;
    pthread_t thread = pthread_t();
    bool running = false;
    bool shown = false;

    // The most work the line has shown: what it shows never falls below it,
    // though a pass's share starts again from 0 with each of an operation's
    // split passes, and the share of one finishing reads 0 before its step
    // reports the next repeat. Taken by whoever works out the text.
    std::mutex textLock;
    double mostDone = 0;
    std::mutex recordLock; // keeps the recorder's texts in the order worked out
};

// Told every text the line would show, in order: the text at each of the
// render's reports, and at every tick of the line's thread from the first,
// so that a test need not catch the line at the right moment. While one is
// set the line is recorded rather than drawn.
typedef void (*ProgressRecorder)(void* context, const std::string& text);
void recordProgressLines(ProgressRecorder recorder, void* context);

// Starts the line's thread for a render of the plan at that side, to be
// written to `output` (a PNG when `png`) as that kind of picture: its row
// gives the files written and the passes worked out before and among
// the writes.
void startProgressLine(ProgressLine& line, const RenderPlan& plan, int32_t side, const char* output,
    bool png, const PictureKindRow& picture);

// The render begins application `application` of step `step`.
void reportStep(ProgressLine& line, int32_t step, int32_t application);

// The render works out the normal map.
void reportNormalMap(ProgressLine& line);

// The render works out another map before its write: `name` is shown
// ("occlusion map") where a normal map's pass shows "normal map".
void reportMapPass(ProgressLine& line, const char* name);

// The render writes the file.
void reportWriting(ProgressLine& line);

// A material's render works out and writes its file number `index` (from 0), `output`.
void reportWritingFile(ProgressLine& line, const char* output, int32_t index);

// The writer has written that many of the picture's rows.
void reportRowsWritten(ProgressLine& line, int32_t rows);

// Stops the thread and clears the line if it was shown. Safe to call more
// than once, and on a line never started.
void stopProgressLine(ProgressLine& line);
