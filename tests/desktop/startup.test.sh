# Stashwell starts in the tray, refuses a second copy of itself, and flushes its history on SIGTERM.
source "$(dirname "$0")/lib.sh"

start_desktop
start_stashwell

# The tray host embeds our icon: trayer reparents it, so it shows up as a window of our process.
wait_for 10 sh -c "xdotool search --pid $STASHWELL_PID | grep -q ." || fail "no window of stashwell (tray icon not embedded)"
note "tray icon embedded"

# A second launch leaves the history alone and says why it exits.
set +e
second_output=$("$STASHWELL_BIN" 2>&1)
second_status=$?
set -e
[[ $second_status -eq 0 ]] || fail "second launch exited $second_status"
[[ "$second_output" == *"Stashwell is already running."* ]] || fail "second launch said: $second_output"
note "second launch refused"

# SIGTERM runs the termination sequence: the history file is written and holds the history.
stop_stashwell
[[ -f "$HISTORY_FILE" ]] || fail "no history.json after SIGTERM"
python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); assert d == [], d' "$HISTORY_FILE" \
    || fail "history.json after SIGTERM: $(cat "$HISTORY_FILE")"
perms=$(stat -c %a "$HISTORY_DIR")
[[ $perms == 700 ]] || fail "history folder mode $perms"
perms=$(stat -c %a "$HISTORY_FILE")
[[ $perms == 600 ]] || fail "history file mode $perms"
note "history flushed on SIGTERM, private modes"
