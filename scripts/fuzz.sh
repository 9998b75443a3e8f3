#!/bin/sh
# Installs what is missing (Debian 12, clang and its libFuzzer included),
# builds the fuzz targets with clang and runs each from its saved corpus.
# Fails when a fuzzer finds a crash, a leak, a hang or a broken invariant; the
# input that did it is kept in <build-dir>/fuzz-artifacts.
# Usage: scripts/fuzz.sh [build-dir]   (MTB_FUZZ_SECONDS per target, 60 by default;
# MTB_QT_MAJOR=6 to build with Qt 6 instead of Qt 5)
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build-fuzz}
seconds=${MTB_FUZZ_SECONDS:-60}
sh scripts/install-deps.sh clang libclang-rt-dev
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMTB_QT_MAJOR="${MTB_QT_MAJOR:-5}" \
    -DMTB_BUILD_FUZZERS=ON -DMTB_BUILD_TESTS=OFF -DMTB_BUILD_BENCHMARKS=OFF -DMTB_BUILD_EXAMPLES=OFF
targets=""
for source in tests/fuzz/fuzz_*.cpp; do
    targets="$targets $(basename "$source" .cpp)"
done
cmake --build "$build" --parallel "$(nproc)" --target $targets
case "$build" in
    /*) ;;
    *) build="$root/$build" ;;
esac
export LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan-suppressions.txt"
status=0
for target in $targets; do
    # New inputs go to the build folder's corpus; the saved ones stay as they are.
    corpus="$build/fuzz-corpus/$target"
    artifacts="$build/fuzz-artifacts"
    mkdir -p "$corpus" "$artifacts"
    echo "Fuzzing $target for $seconds s"
    if ! "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
        -artifact_prefix="$artifacts/$target-" -print_final_stats=1 "$corpus" "$root/tests/data/fuzz/$target"; then
        echo "$target failed; the input that did it is in $artifacts" >&2
        status=1
    fi
done
exit $status
