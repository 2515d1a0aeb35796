#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or the directory given as
# first argument; further arguments go to cmake) and runs each for a minute on its
# seed corpus with its dictionary. A crash, a sanitizer finding, a leak or a hang fails
# the run; the input that caused it is kept in the build directory and named.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-fuzz}"
shift || true
seconds="${TOLVIMAR_FUZZ_SECONDS:-60}"
"$root/scripts/bootstrap.sh"
# Only the library and the two targets: no tests, benchmarks or picture programs.
# -O1 with line tables, as the sanitizer build: findings keep their lines.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTOLVIMAR_FUZZ=ON \
    -DTOLVIMAR_BUILD_TESTS=OFF -DTOLVIMAR_BUILD_BENCH=OFF -DTOLVIMAR_BUILD_PICTURE_TOOLS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
    "$@" >/dev/null
cmake --build "$build" --target fuzz_import fuzz_mapdata

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
failed=()
run() {
    local target="$1" seeds="$2" dict="$3"
    # The fuzzer adds what it finds to its first corpus folder: a copy, so the seeds
    # in the repository stay as they are.
    local work="$build/fuzz-run/$target"
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/findings"
    echo "== $target: ${seconds} s on $(ls "$seeds" | wc -l) seeds"
    if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -dict="$dict" \
        -print_final_stats=1 -artifact_prefix="$work/findings/" "$work/corpus" "$seeds"; then
        echo "== $target found a fault; input: $(ls -d "$work"/findings/* 2>/dev/null | tr '\n' ' ')"
        failed+=("$target")
    fi
}
run fuzz_import "$root/fuzz/corpus" "$root/fuzz/report.dict"
run fuzz_mapdata "$root/fuzz/corpus-mapdata" "$root/fuzz/mapdata.dict"
if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzzing found faults in: ${failed[*]}"
    exit 1
fi
