// One whole quiltor-render process for the example recipe, from its start to
// the written file, on the wall clock: what each of many renders run in
// parallel costs.

#include <benchmark/benchmark.h>
#include <cerrno>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Runs the renderer once and waits for it; false unless it exited with 0.
bool runRenderer(char* const arguments[])
{
    pid_t child;
    if (posix_spawn(&child, QUILTOR_RENDER_BINARY, nullptr, nullptr, arguments, environ) != 0)
        return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_RenderExampleRecipeProcess(benchmark::State& state)
{
    char directory[] = "/tmp/quiltor-bench-XXXXXX";
    if (!mkdtemp(directory)) {
        state.SkipWithError("cannot make a scratch directory");
        return;
    }
    std::string output = std::string(directory) + "/example.bmp";
    char* const arguments[] = { (char*)QUILTOR_RENDER_BINARY, (char*)QUILTOR_EXAMPLE_RECIPE,
        (char*)"-o", output.data(), nullptr };
    for (auto _ : state) {
        if (!runRenderer(arguments)) {
            state.SkipWithError("quiltor-render failed");
            break;
        }
    }
    unlink(output.c_str());
    rmdir(directory);
}
// The parent only waits, so its CPU time says nothing: wall-clock time, one
// process per repetition, and the median of many.
BENCHMARK(BM_RenderExampleRecipeProcess)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(100)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace
