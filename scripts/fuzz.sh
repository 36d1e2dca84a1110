#!/bin/sh
# Builds the texture-engine fuzzer with clang and runs it for FUZZ_SECONDS
# seconds (default 30). Fails if it finds a crash, undefined behaviour or a
# broken property; the input that did it is kept under build-fuzz/crashes/.
#
# fuzz/corpus holds the committed seeds and is only read; the inputs the
# fuzzer finds go to build-fuzz/corpus and carry over to the next run.
set -eu
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-30}
build=build-fuzz

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ is not installed; skipping the fuzzer"
    exit 0
fi

cmake -S . -B "$build" -DQUILTOR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j "$(nproc)" --target engine_fuzzer

mkdir -p "$build/corpus" "$build/crashes"
log=$build/fuzz.log
echo "fuzz: running the engine fuzzer for $seconds s (log: $log)"
status=0
UBSAN_OPTIONS=print_stacktrace=1 "$build/fuzz/engine_fuzzer" \
    -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/crashes/" "$build/corpus" fuzz/corpus >"$log" 2>&1 || status=$?

if [ "$status" -ne 0 ]; then
    # Everything but the progress lines: the sanitizer report and the input.
    grep -v '^#[0-9]' "$log" || true
    echo "fuzz: FAILED (exit status $status); rerun the saved input with"
    echo "      $build/fuzz/engine_fuzzer $build/crashes/<file>"
    exit 1
fi
grep -E '^#[0-9]+[[:space:]]+DONE|^Done [0-9]+ runs|^stat::' "$log"
