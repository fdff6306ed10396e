# The global shortcut: Super+Shift+V reaches the handler whatever the lock keys, once per press; a
# shortcut another program holds is refused with -9878 and a log line, leaving no grab behind; a
# configured shortcut is grabbed by key position.
source "$(dirname "$0")/lib.sh"

DRIVER="$STASHWELL_HELPERS/platform_driver"
GRAB="$STASHWELL_HELPERS/grab_key"
WITH_TRAY=0 WITH_COMPOSITOR=0 start_desktop

LOG="$TEST_ROOT/hotkey.log"
presses() { grep -c '^pressed' "$LOG" || true; }
pressed_count_is() { [[ $(presses) -eq $1 ]]; }

# Starts the driver holding the configured shortcut; waits for its registration status.
start_hotkey() {
    spawn "$DRIVER" hotkey >"$LOG" 2>&1
    HOTKEY_PID=$LAST_PID
    wait_for 10 grep -q '^status' "$LOG" || fail "the driver did not register: $(cat "$LOG")"
}

stop_hotkey() {
    kill "$HOTKEY_PID"
    wait "$HOTKEY_PID" 2>/dev/null || true
}

start_hotkey
grep -qx 'status 0' "$LOG" || fail "registration failed: $(cat "$LOG")"
xdotool key super+shift+v
wait_for 5 pressed_count_is 1 || fail "Super+Shift+V did not reach the handler"
xdotool key super+v shift+v ctrl+shift+v
xdotool key Num_Lock super+shift+v Num_Lock
wait_for 5 pressed_count_is 2 || fail "Super+Shift+V with Num Lock on: $(presses) presses"
xdotool key Caps_Lock super+shift+v Caps_Lock
wait_for 5 pressed_count_is 3 || fail "Super+Shift+V with Caps Lock on: $(presses) presses"
note "Super+Shift+V calls the handler, with or without Num Lock and Caps Lock; other combinations do not"

# Held down, the key repeats; only the press counts.
xdotool keydown super+shift+v
sleep 1.5
xdotool keyup super+shift+v
wait_for 5 pressed_count_is 4 || fail "holding the shortcut: $(presses) presses"
sleep 0.3
pressed_count_is 4 || fail "holding the shortcut counted $(presses) presses"
note "a held shortcut counts once"
stop_hotkey

# Another program holds the combination with Caps Lock: ours fails as a whole, and what it grabbed
# before the failure is released again.
spawn "$GRAB" 55 0x43 >"$TEST_ROOT/grab.log" 2>&1
GRAB_PID=$LAST_PID
wait_for 5 grep -qx grabbed "$TEST_ROOT/grab.log" || fail "the other program could not grab: $(cat "$TEST_ROOT/grab.log")"
start_hotkey
grep -qx 'status -9878' "$LOG" || fail "taken shortcut: $(cat "$LOG")"
grep -qxF 'Stashwell: failed to register hotkey Super+Shift+V: -9878' "$LOG" || fail "no log line: $(cat "$LOG")"
"$GRAB" 55 0x41 >"$TEST_ROOT/grab2.log" 2>&1 &
SECOND_GRAB=$!
TEST_PIDS+=($SECOND_GRAB)
wait_for 5 grep -q . "$TEST_ROOT/grab2.log" || fail "the second grab did not answer"
grep -qx grabbed "$TEST_ROOT/grab2.log" || fail "Super+Shift+V stayed grabbed after the failure: $(cat "$TEST_ROOT/grab2.log")"
kill "$SECOND_GRAB"
xdotool key super+shift+v
sleep 0.3
pressed_count_is 0 || fail "a failed registration still reports presses"
stop_hotkey
kill "$GRAB_PID"
note "a taken shortcut gives -9878 and the log line, and leaves no grab behind"

# The configured shortcut: Control+Option+K (key code 40) is grabbed where K sits.
mkdir -p "$XDG_CONFIG_HOME/Stashwell"
printf '{"stashwell.hotkey.keyCode": 40, "stashwell.hotkey.modifiers": 6144, "stashwell.hotkey.keyLabel": "K"}' \
    >"$XDG_CONFIG_HOME/Stashwell/defaults.json"
start_hotkey
grep -qx 'status 0' "$LOG" || fail "Control+Option+K: $(cat "$LOG")"
xdotool key super+shift+v ctrl+alt+k
wait_for 5 pressed_count_is 1 || fail "Control+Alt+K did not reach the handler"
sleep 0.3
pressed_count_is 1 || fail "the old shortcut still reaches the handler"
stop_hotkey
note "the configured shortcut is grabbed by key position"

# The program itself takes the default shortcut at launch.
rm -f "$XDG_CONFIG_HOME/Stashwell/defaults.json"
start_stashwell
"$GRAB" 55 0x41 >"$TEST_ROOT/grab3.log" 2>&1 || true
grep -qx 'error 10' "$TEST_ROOT/grab3.log" || fail "stashwell does not hold Super+Shift+V: $(cat "$TEST_ROOT/grab3.log")"
stop_stashwell
grep -q 'failed to' "$STASHWELL_LOG" && fail "stashwell logged: $(cat "$STASHWELL_LOG")"
note "stashwell holds Super+Shift+V while it runs"
