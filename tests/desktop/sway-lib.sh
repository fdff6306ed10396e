# Shared setup for the Wayland desktop tests: a headless sway (with XWayland on demand) run as an
# unprivileged user, since sway refuses root, with its own runtime folder, HOME and XDG folders.
# The programs under test run as that user too, from copies in a folder every user can read.
# Source it from a test script; it exits the test with a message on the first failed check.

set -euo pipefail

: "${STASHWELL_HELPERS:?STASHWELL_HELPERS must point at the built test helpers}"
STASHWELL_ARTIFACTS=${STASHWELL_ARTIFACTS:-$STASHWELL_HELPERS/../artifacts}
mkdir -p "$STASHWELL_ARTIFACTS"

TEST_NAME=$(basename "$0" .test.sh)
TEST_ROOT=$(mktemp -d "/tmp/stashwell-$TEST_NAME.XXXXXX")
chmod 755 "$TEST_ROOT"
BIN_DIR="$TEST_ROOT/bin"
mkdir -p "$BIN_DIR"

# As root (CI) everything the compositor runs is run as nobody; as an ordinary user, as that user.
if [[ $(id -u) -eq 0 ]]; then
    DESKTOP_UID=65534
    DESKTOP_GID=65534
else
    DESKTOP_UID=$(id -u)
    DESKTOP_GID=$(id -g)
fi
export HOME="$TEST_ROOT/home"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache"
export XDG_RUNTIME_DIR="$TEST_ROOT/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
chown -R "$DESKTOP_UID:$DESKTOP_GID" "$HOME" "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK DBUS_SESSION_BUS_ADDRESS
SWAY_LOG="$TEST_ROOT/sway.log"

source "$(dirname "${BASH_SOURCE[0]}")/process-lib.sh"
SHOW_ON_FAILURE=() # files whose end is shown when the test fails

cleanup() {
    local status=$?
    end_test_processes
    if [[ $status -ne 0 ]]; then
        for log in "$SWAY_LOG" "${SHOW_ON_FAILURE[@]}"; do
            [[ -f $log ]] || continue
            echo "--- $(basename "$log") ---" >&2
            tail -n 20 "$log" >&2 || true
        done
    fi
    rm -rf "$TEST_ROOT"
    exit $status
}
trap cleanup EXIT

# Runs a command as the desktop's user, in its session (WAYLAND_DISPLAY, SWAYSOCK once sway runs).
as_user() {
    if [[ $(id -u) -eq 0 ]]; then
        setpriv --reuid="$DESKTOP_UID" --regid="$DESKTOP_GID" --clear-groups -- "$@"
    else
        "$@"
    fi
}

# Runs a command as the desktop's user in the background and remembers its process id for cleanup.
# Standard input is passed on as given (a background command would otherwise read /dev/null).
spawn_user() {
    if [[ $(id -u) -eq 0 ]]; then
        setpriv --reuid="$DESKTOP_UID" --regid="$DESKTOP_GID" --clear-groups -- "$@" <&0 &
    else
        "$@" <&0 &
    fi
    TEST_PIDS+=($!)
    LAST_PID=$!
}

# Copies built programs where the desktop's user can run them; prints nothing.
install_programs() {
    local program
    for program in "$@"; do
        install -m 755 "$program" "$BIN_DIR/"
    done
}

start_sway() {
    local config="$TEST_ROOT/sway.config"
    cat >"$config" <<CONFIG
output HEADLESS-1 resolution 1920x1080 position 0 0
xwayland enable
default_border none
focus_follows_mouse no
CONFIG
    chmod 644 "$config"
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        spawn_user sway -c "$config" >"$SWAY_LOG" 2>&1
    SWAY_PID=$LAST_PID
    wait_for 15 sh -c "ls '$XDG_RUNTIME_DIR' | grep -q '^sway-ipc\\.'" || fail "sway did not start"
    export SWAYSOCK
    SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock | head -n1)
    export WAYLAND_DISPLAY
    WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && ls wayland-* | grep -v '\.lock$' | head -n1)
    wait_for 10 as_user swaymsg -t get_version || fail "sway does not answer on $SWAYSOCK"
    note "$(as_user swaymsg -t get_version -r | sed -n 's/.*"human_readable": "\(.*\)".*/sway \1/p')"
}

# Exports DISPLAY as the XWayland display sway's own programs get (sway starts XWayland on the first
# free display number: asked, never assumed).
use_xwayland() {
    local script="$TEST_ROOT/print-display" answer="$HOME/display"
    printf '#!/bin/sh\nprintf %%s "$DISPLAY" > "%s"\n' "$answer" >"$script"
    chmod 755 "$script"
    as_user swaymsg -q "exec $script"
    wait_for 10 test -s "$answer" || fail "sway gives its programs no DISPLAY"
    export DISPLAY
    DISPLAY=$(cat "$answer")
}

# The app id (or X11 class) of the focused window, empty when none.
focused_app() {
    as_user swaymsg -t get_tree -r | "$PYTHON" -c '
import json, sys
def walk(node):
    if node.get("focused"):
        return node.get("app_id") or (node.get("window_properties") or {}).get("class") or ""
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        found = walk(child)
        if found is not None:
            return found
    return None
print(walk(json.load(sys.stdin)) or "")'
}

focused_is() {
    [[ $(focused_app) == "$1" ]]
}

screenshot() {
    as_user grim -o HEADLESS-1 "$HOME/$1.png"
    cp "$HOME/$1.png" "$STASHWELL_ARTIFACTS/$1.png"
    note "screenshot: $STASHWELL_ARTIFACTS/$1.png"
}

PYTHON=/usr/bin/python3
[[ -x $PYTHON ]] || PYTHON=python3
