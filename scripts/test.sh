#!/bin/sh
# Installs what is missing (Debian 12), configures, builds and runs every test.
# Usage: scripts/test.sh [build-dir]   (MTB_SANITIZE=ON for an ASan/UBSan build,
# MTB_QT_MAJOR=6 to build with Qt 6 instead of Qt 5)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
sh scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMTB_SANITIZE="${MTB_SANITIZE:-OFF}" \
    -DMTB_QT_MAJOR="${MTB_QT_MAJOR:-5}"
cmake --build "$build" --parallel "$(nproc)"
export LSAN_OPTIONS="suppressions=$(pwd)/tests/sanitizers/lsan.supp"
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
