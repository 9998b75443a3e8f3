#!/bin/sh
# Installs the built library into a scratch prefix, builds the host program in
# host/ against it with find_package, and runs it. An optional second argument
# gives compiler and linker flags for the host (a sanitized library needs them).
# The README's two minimal hosts are built the same way, and pkg-config must
# find the package.
set -eu
build=$1
flags=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
cmake -S "$here/host" -B "$work/host" -DCMAKE_PREFIX_PATH="$work/prefix" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$work/host" >/dev/null
cmake -S "$here/../../examples/minimal" -B "$work/minimal" -DCMAKE_PREFIX_PATH="$work/prefix" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$work/minimal" >/dev/null
pc=$(find "$work/prefix" -name MiniToolbars.pc)
PKG_CONFIG_PATH=$(dirname "$pc") pkg-config --libs MiniToolbars | grep -q -- "-lMiniToolbars"
QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH="$work/prefix/lib:$work/prefix/lib/x86_64-linux-gnu:${LD_LIBRARY_PATH:-}" "$work/host/host"
