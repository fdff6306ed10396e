# The X server goes away under the running program (killed, as a crashed session's server is): the
# termination sequence still runs, once. The last copy, made less than a save delay before, is on
# disk; with clear on quit only the pinned entries are left, and the pictures of the others are gone.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/capture-lib.sh"

# Starts a desktop and the program on it; XVFB_PID is its X server.
start_session() {
    local first=${#TEST_PIDS[@]}
    start_desktop
    XVFB_PID=${TEST_PIDS[$first]}
    start_stashwell
}

# Kills the X server and waits for the program to end; fails if it crashed or hung.
kill_x_server() {
    kill -KILL "$XVFB_PID"
    wait_for 10 sh -c "! kill -0 $STASHWELL_PID" || fail "stashwell did not end after its X server went away"
    STASHWELL_STATUS=0
    wait "$STASHWELL_PID" 2>/dev/null || STASHWELL_STATUS=$?
    ((STASHWELL_STATUS < 128)) || fail "stashwell died of signal $((STASHWELL_STATUS - 128)) when the X server went away"
}

sequences_run() { grep -c 'running the termination sequence' "$STASHWELL_LOG" || true; }

# --- clear on quit off: the last copy is saved -------------------------------------------------
start_session
copy_kind text first
expect_newest text="first text 0" || fail "the first copy was not saved: $(cat "$HISTORY_FILE")"
copy_kind text last
# The entry is in the store, its save is still waiting (0.4 s after the change).
sleep 0.1
kill_x_server
expect_newest text="last text 0" || fail "the copy made just before the X server went is lost: $(cat "$HISTORY_FILE")"
[[ $(history count) -eq 2 ]] || fail "expected two entries: $(cat "$HISTORY_FILE")"
[[ $(sequences_run) -eq 1 ]] || fail "the termination sequence ran $(sequences_run) times"
note "X server killed: the copy made 0.1 s before is on disk (exit status $STASHWELL_STATUS)"

# --- clear on quit on: only the pinned entries stay, with their files ---------------------------
"$PYTHON" - "$HISTORY_FILE" <<'PY'
import json, sys
entries = json.load(open(sys.argv[1]))
for entry in entries:
    entry["isPinned"] = entry["text"] == "first text 0"
json.dump(entries, open(sys.argv[1], "w"))
PY
mkdir -p "$XDG_CONFIG_HOME/Stashwell"
echo '{"stashwell.clearOnQuit": true}' >"$XDG_CONFIG_HOME/Stashwell/defaults.json"
: >"$STASHWELL_LOG"
start_session
copy_kind image picture
expect_newest kind=image imagePath=@file || fail "the picture was not saved: $(cat "$HISTORY_FILE")"
picture=$("$PYTHON" -c 'import json, sys; print(json.load(open(sys.argv[1]))[0]["imagePath"])' "$HISTORY_FILE")
copy_kind text secret
sleep 0.1
kill_x_server
"$PYTHON" - "$HISTORY_FILE" <<'PY' || fail "after the X server went with clear on quit: $(cat "$HISTORY_FILE")"
import json, sys
entries = json.load(open(sys.argv[1]))
assert [(e["text"], e["isPinned"]) for e in entries] == [("first text 0", True)], entries
PY
[[ ! -e $picture ]] || fail "the cleared picture's file is still there: $picture"
[[ -z $(ls -A "$HISTORY_DIR/images") ]] || fail "files left in images/: $(ls -A "$HISTORY_DIR/images")"
[[ $(sequences_run) -eq 1 ]] || fail "the termination sequence ran $(sequences_run) times"
note "X server killed with clear on quit: only the pinned entry is left, the picture's files are gone"
