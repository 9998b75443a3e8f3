#!/bin/sh
# Runs one program on a private Xvfb display with the Composite extension and
# the xcompmgr compositor, so translucent windows behave as on a desktop.
# MTB_XVFB_SCREEN overrides the screen size (default 1280x800x24).
# Exits 77 (skipped) when Xvfb or xcompmgr is missing.
set -u
screen=${MTB_XVFB_SCREEN:-1280x800x24}
for tool in xvfb-run Xvfb xcompmgr; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is not installed; skipping $1"
        exit 77
    fi
done
export QT_QPA_PLATFORM=xcb
# Everything here paints with the raster engine. Without the GLX integration
# Mesa is never loaded, and neither are its one-time allocations, which
# LeakSanitizer reports through a stack no suppression can match.
export QT_XCB_GL_INTEGRATION=${QT_XCB_GL_INTEGRATION:-none}
exec xvfb-run -a -s "-screen 0 $screen +extension Composite" sh -c '
    xcompmgr >/dev/null 2>&1 &
    compositor=$!
    sleep 0.5
    "$@"
    status=$?
    kill $compositor 2>/dev/null
    exit $status
' run-under-xvfb "$@"
