#!/bin/sh
# Installs what is missing (Debian 12), configures and builds the demo host in
# ./build and runs it. With $DISPLAY set it opens the editor; without one it
# runs the scripted tour under Xvfb with a compositor and prints the folder of
# its screenshots (./demo-screenshots unless --tour DIR is given).
# Usage: scripts/demo.sh [demo switches, see --help]
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMTB_QT_MAJOR="${MTB_QT_MAJOR:-5}" >/dev/null
cmake --build build --target minitoolbars-demo --parallel "$(nproc)"
demo=build/examples/minitoolbars-demo

if [ -n "${DISPLAY:-}" ]; then
    exec "$demo" "$@"
fi

tour=no
for argument in "$@"; do
    case "$argument" in
        --tour|--tour=*) tour=yes ;;
    esac
done
if [ "$tour" = no ]; then
    set -- "$@" --tour demo-screenshots
fi
exec sh tests/x11/run-under-xvfb.sh "$demo" "$@"
