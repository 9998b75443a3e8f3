#!/bin/sh
# Installs what is missing (Debian 12), configures, builds and runs every test.
# Usage: scripts/test.sh [build-dir]   (MTB_SANITIZE=ON for an ASan/UBSan build)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
sh scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMTB_SANITIZE="${MTB_SANITIZE:-OFF}"
cmake --build "$build" --parallel "$(nproc)"
export LSAN_OPTIONS="suppressions=$(pwd)/tests/sanitizers/lsan.supp"
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
