#!/bin/sh
# Builds the three fuzzers with clang and runs them one after the other, for
# FUZZ_SECONDS seconds in all (default 30, split evenly): the texture-engine
# fuzzer, the recipe-reader fuzzer and the renderer's command-line fuzzer. Fails if either finds a crash,
# undefined behaviour or a broken property; the input that did it is kept
# under build-fuzz/crashes/.
#
# fuzz/corpus, fuzz/recipe-corpus and fuzz/options-corpus hold the committed
# seeds and are only read; the inputs the fuzzers find go to build-fuzz/ and
# carry over to the next run.
set -eu
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-30}
build=build-fuzz

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ is not installed; skipping the fuzzers"
    exit 0
fi

cmake -S . -B "$build" -DQUILTOR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j "$(nproc)" --target engine_fuzzer recipe_fuzzer options_fuzzer

third=$((seconds / 3))
[ "$third" -ge 1 ] || third=1

# run NAME SECONDS MAX_LEN FOUND_CORPUS SEED_CORPUS
run() {
    name=$1
    log=$build/$name.log
    mkdir -p "$4" "$build/crashes"
    echo "fuzz: running the $name for $2 s (log: $log)"
    status=0
    UBSAN_OPTIONS=print_stacktrace=1 "$build/fuzz/$name" \
        -max_total_time="$2" -max_len="$3" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/crashes/" "$4" "$5" >"$log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        # Everything but the progress lines: the sanitizer report and the input.
        grep -v '^#[0-9]' "$log" || true
        echo "fuzz: FAILED (exit status $status); rerun the saved input with"
        echo "      $build/fuzz/$name $build/crashes/<file>"
        exit 1
    fi
    grep -E '^#[0-9]+[[:space:]]+DONE|^Done [0-9]+ runs|^stat::number_of_executed_units' "$log"
}

run engine_fuzzer "$third" 4096 "$build/corpus" fuzz/corpus
# Inputs longer than the longest line a recipe allows, so over-long lines are tried.
run recipe_fuzzer "$third" 16384 "$build/recipe-corpus" fuzz/recipe-corpus
run options_fuzzer "$third" 1024 "$build/options-corpus" fuzz/options-corpus
