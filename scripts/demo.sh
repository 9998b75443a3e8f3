#!/bin/sh
# Installs what is missing (Debian 12), configures and builds the demo host in
# ./build and runs it. In a desktop session it opens the editor: on Qt's
# Wayland platform when the session is Wayland's ($WAYLAND_DISPLAY), unless
# QT_QPA_PLATFORM or -platform says otherwise. Without a display it runs the
# scripted tour under Xvfb with a compositor, or with --weston under a headless
# Weston on Qt's Wayland platform, and prints the folder of its screenshots
# (./demo-screenshots unless --tour DIR is given).
# Usage: scripts/demo.sh [--weston] [demo switches, see --help]
set -eu
cd "$(dirname "$0")/.."
weston=no
for argument in "$@"; do
    shift
    if [ "$argument" = --weston ]; then
        weston=yes
    else
        set -- "$@" "$argument"
    fi
done

sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMTB_QT_MAJOR="${MTB_QT_MAJOR:-5}" >/dev/null
targets=minitoolbars-demo
# The Weston module that gives the tour a pointer and screenshots on Wayland.
[ "$weston" = yes ] && targets="$targets mtb_weston_test_seat"
cmake --build build --target $targets --parallel "$(nproc)"
demo=build/examples/minitoolbars-demo

if [ "$weston" = no ] && [ -n "${WAYLAND_DISPLAY:-}" ]; then
    export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-wayland}"
    exec "$demo" "$@"
fi
if [ "$weston" = no ] && [ -n "${DISPLAY:-}" ]; then
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
if [ "$weston" = yes ]; then
    export MTB_WESTON_MODULE="$(pwd)/build/tests/mtb_weston_test_seat.so"
    exec sh tests/wayland/run-under-weston.sh "$demo" "$@"
fi
exec sh tests/x11/run-under-xvfb.sh "$demo" "$@"
