#!/bin/sh
# Runs one program as a client of a private headless Weston (desktop shell,
# pixman renderer) that loads the test seat module named by MTB_WESTON_MODULE.
# The program finds the module's control socket in MTB_WESTON_CONTROL.
# MTB_WESTON_SCREEN overrides the output size (default 1280x800).
# Exits 77 (skipped) when weston or the module is missing. Fails when the
# program fails or writes a Wayland protocol error to stderr; either way both
# the program's stderr and Weston's log are shown.
set -u
screen=${MTB_WESTON_SCREEN:-1280x800}
module=${MTB_WESTON_MODULE:-}
if ! command -v weston >/dev/null 2>&1; then
    echo "weston is not installed; skipping $1"
    exit 77
fi
if [ -z "$module" ] || [ ! -f "$module" ]; then
    echo "the Weston test seat module is not built (needs libweston-10-dev); skipping $1"
    exit 77
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/mtb-weston.XXXXXX") || exit 1
chmod 700 "$dir"
weston_pid=""
cleanup() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null
        wait "$weston_pid" 2>/dev/null
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

# No window, fade or input panel animation, so a screenshot shows what clients
# last committed; no key repeat, so a slow test never sees repeated keys.
cat >"$dir/weston.ini" <<EOF
[core]
idle-time=0
[shell]
startup-animation=none
animation=none
close-animation=none
focus-animation=none
[keyboard]
repeat-rate=0
[input-method]
path=
EOF

export XDG_RUNTIME_DIR="$dir"
export MTB_WESTON_CONTROL="$dir/control"
unset DISPLAY WAYLAND_SOCKET
weston --backend=headless-backend.so --use-pixman --idle-time=0 \
    --width="${screen%x*}" --height="${screen#*x}" --config="$dir/weston.ini" \
    --socket=wayland-mtb --modules="$module" --log="$dir/weston.log" >/dev/null 2>&1 &
weston_pid=$!

# Both sockets exist once Weston has loaded the module and listens for clients.
tries=0
until [ -S "$dir/wayland-mtb" ] && [ -S "$MTB_WESTON_CONTROL" ]; do
    if ! kill -0 "$weston_pid" 2>/dev/null || [ $tries -ge 200 ]; then
        echo "weston did not start:" >&2
        cat "$dir/weston.log" >&2
        exit 1
    fi
    tries=$((tries + 1))
    sleep 0.05
done

export WAYLAND_DISPLAY=wayland-mtb
export QT_QPA_PLATFORM=wayland
"$@" 2>"$dir/program.err"
status=$?
cat "$dir/program.err" >&2
if grep -Eiq 'protocol error|@[0-9]+: error [0-9]+:|error in client communication|wayland connection' "$dir/program.err"; then
    echo "Wayland protocol error on the program's stderr" >&2
    [ $status -eq 0 ] && status=1
fi
if [ $status -ne 0 ] && [ $status -ne 77 ]; then
    echo "--- weston log" >&2
    cat "$dir/weston.log" >&2
fi
exit $status
