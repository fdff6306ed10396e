# Shared setup for the desktop tests: a private X server with a window manager, a tray host and a
# compositor, private HOME and XDG folders, and cleanup of every process the test started.
# Source it from a test script; it exits the test with a message on the first failed check.

set -euo pipefail

: "${STASHWELL_BIN:?STASHWELL_BIN must point at the stashwell program}"
STASHWELL_HELPERS=${STASHWELL_HELPERS:-$(dirname "$STASHWELL_BIN")/tests}
STASHWELL_ARTIFACTS=${STASHWELL_ARTIFACTS:-$(dirname "$STASHWELL_BIN")/artifacts}
mkdir -p "$STASHWELL_ARTIFACTS"

TEST_NAME=$(basename "$0" .test.sh)
TEST_ROOT=$(mktemp -d "/tmp/stashwell-$TEST_NAME.XXXXXX")
export HOME="$TEST_ROOT/home"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache"
export XDG_RUNTIME_DIR="$TEST_ROOT/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb
HISTORY_DIR="$XDG_DATA_HOME/Stashwell"
HISTORY_FILE="$HISTORY_DIR/history.json"
STASHWELL_LOG="$TEST_ROOT/stashwell.log"

# Debian's own interpreter (the one scripts/deps installs); a version manager's shim starts slowly.
PYTHON=/usr/bin/python3
[[ -x $PYTHON ]] || PYTHON=python3

source "$(dirname "${BASH_SOURCE[0]}")/process-lib.sh"
STASHWELL_PID=""
STASHWELL_STATUS=""
TRAYER_PID=""

cleanup() {
    local status=$?
    end_test_processes
    if [[ $status -ne 0 && -f "$STASHWELL_LOG" ]]; then
        echo "--- stashwell output ---" >&2
        tail -n 40 "$STASHWELL_LOG" >&2 || true
    fi
    rm -rf "$TEST_ROOT"
    exit $status
}
trap cleanup EXIT

# Runs a command in the background and remembers its process id for cleanup.
spawn() {
    "$@" &
    TEST_PIDS+=($!)
    LAST_PID=$!
}

start_x() {
    local fd_file="$TEST_ROOT/display"
    exec 9>"$fd_file"
    spawn Xvfb -displayfd 9 -screen 0 1600x1000x24 -nolisten tcp -noreset +extension XInputExtension \
        +extension XTEST +extension XFIXES +extension Composite +extension RENDER
    exec 9>&-
    wait_for 10 test -s "$fd_file" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fd_file")"
    wait_for 10 xdpyinfo || fail "X server $DISPLAY does not answer"
}

# A private session bus, as a desktop session has: the program answers stashwell --toggle on it.
start_session_bus() {
    local address_file="$TEST_ROOT/bus-address"
    exec 8>"$address_file"
    spawn dbus-daemon --session --nofork --nopidfile --print-address=8 2>/dev/null
    exec 8>&-
    wait_for 10 test -s "$address_file" || fail "dbus-daemon did not start"
    DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$address_file")
    export DBUS_SESSION_BUS_ADDRESS
}

start_desktop() {
    start_x
    start_session_bus
    spawn openbox --sm-disable
    wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "openbox did not start"
    if [[ "${WITH_COMPOSITOR:-1}" == 1 ]] && command -v xcompmgr >/dev/null; then
        spawn xcompmgr -n
    fi
    if [[ "${WITH_TRAY:-1}" == 1 ]]; then
        spawn trayer --edge top --align right --widthtype pixel --width 120 --height 24 --transparent false
        TRAYER_PID=$LAST_PID
        wait_for 10 sh -c 'xprop -root | grep -q .' || true
    fi
}

start_stashwell() {
    spawn "$STASHWELL_BIN" >>"$STASHWELL_LOG" 2>&1
    STASHWELL_PID=$LAST_PID
    wait_for 10 sh -c "xdotool search --pid $STASHWELL_PID >/dev/null || grep -q . '$STASHWELL_LOG' || sleep 1" || true
    sleep 0.5
    kill -0 "$STASHWELL_PID" 2>/dev/null || fail "stashwell exited at start"
}

# Ends stashwell with a signal (SIGTERM unless given) and waits for it; fails if it does not end
# within 10 s. Its exit status is left in STASHWELL_STATUS.
stop_stashwell() {
    local signal=${1:-TERM}
    kill -"$signal" "$STASHWELL_PID"
    local deadline=$((SECONDS + 10))
    while kill -0 "$STASHWELL_PID" 2>/dev/null; do
        ((SECONDS < deadline)) || fail "stashwell did not end after SIG$signal"
        sleep 0.05
    done
    STASHWELL_STATUS=0
    wait "$STASHWELL_PID" 2>/dev/null || STASHWELL_STATUS=$?
}

# Succeeds when stashwell's tray icon is embedded in trayer: a viewable window of stashwell's process
# that speaks XEmbed sits inside one of trayer's windows.
tray_icon_embedded() {
    [[ -n "$TRAYER_PID" ]] || return 1
    local host window
    for host in $(xdotool search --pid "$TRAYER_PID" 2>/dev/null); do
        for window in $(xwininfo -tree -id "$host" 2>/dev/null | awk '$1 ~ /^0x/ {print $1}'); do
            xprop -id "$window" _NET_WM_PID 2>/dev/null | grep -qx "_NET_WM_PID(CARDINAL) = $STASHWELL_PID" || continue
            xprop -id "$window" _XEMBED_INFO 2>/dev/null | grep -q '= ' || continue
            xwininfo -id "$window" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
            return 0
        done
    done
    return 1
}

screenshot() {
    import -window root "$STASHWELL_ARTIFACTS/$1.png"
    note "screenshot: $STASHWELL_ARTIFACTS/$1.png"
}
