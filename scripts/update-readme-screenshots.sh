#!/bin/sh
# Regenerates docs/screenshot-light.png and docs/screenshot-dark.png, and their
# solid-look counterparts docs/screenshot-solid-light.png and
# docs/screenshot-solid-dark.png, from the demo's scripted tour (Xvfb with a
# compositor): the editor with its toolbar over a selection, at scaling 1,
# pointer near.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target minitoolbars-demo --parallel "$(nproc)"

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
sh tests/x11/run-under-xvfb.sh build/examples/minitoolbars-demo --tour "$shots" >/dev/null

# The demo window stands at (60, 40); keep its menu and the upper part of the
# text, where the tour's selection and its toolbar are.
mkdir -p docs
for theme in light dark; do
    convert "$shots/$theme-1-opaque.png" -crop 900x290+60+40 +repage -strip "docs/screenshot-$theme.png"
    convert "$shots/$theme-1-solid.png" -crop 900x290+60+40 +repage -strip "docs/screenshot-solid-$theme.png"
done
echo "docs/screenshot-light.png docs/screenshot-dark.png docs/screenshot-solid-light.png docs/screenshot-solid-dark.png"
