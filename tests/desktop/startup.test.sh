# Stashwell starts in the tray, refuses a second copy of itself, and on SIGTERM, SIGINT or SIGHUP
# runs its termination sequence: clear on quit when set, then the history written to disk.
source "$(dirname "$0")/lib.sh"

# Without an X display the program says so in one line and fails.
for display in "" ":4711"; do
    set +e
    output=$(DISPLAY=$display timeout 20 "$STASHWELL_BIN" 2>&1)
    status=$?
    set -e
    [[ $status -ne 0 && $status -ne 124 ]] || fail "start with DISPLAY='$display' exited $status"
    [[ $(printf '%s\n' "$output" | wc -l) -eq 1 && -n "$output" ]] || fail "start with DISPLAY='$display' said: $output"
done
note "no display: one line, exit status non-zero"

# A history with pinned and unpinned entries and their files, an orphaned image, looser modes than
# the program's own, and a layout (indented) that the program never writes.
mkdir -p "$HISTORY_DIR/images" "$HISTORY_DIR/assets"
for name in images/PINNED.png images/UNPINNED.png assets/UNPINNED.pdf images/0DDBA11E-0000-4000-8000-000000000001.png; do
    echo "$name" >"$HISTORY_DIR/$name"
done
"$PYTHON" - "$HISTORY_DIR" <<'PY'
import json, sys
folder = sys.argv[1]
entries = [
    {"id": "00000000-0000-4000-8000-000000000001", "kind": "text", "createdAt": "2026-01-01T10:00:00Z",
     "text": "pinned text", "characterCount": 11, "sourceBundleID": "org.gnome.TextEditor", "isPinned": True},
    {"id": "00000000-0000-4000-8000-000000000002", "kind": "image", "createdAt": "2026-01-01T09:00:00Z",
     "imagePath": folder + "/images/PINNED.png", "thumbnailPath": folder + "/images/PINNED.png",
     "imageWidth": 1, "imageHeight": 1, "contentHash": "00112233445566778899aabb", "isPinned": True},
    {"id": "00000000-0000-4000-8000-000000000003", "kind": "image", "createdAt": "2026-01-01T08:00:00Z",
     "imagePath": folder + "/images/UNPINNED.png", "thumbnailPath": folder + "/images/UNPINNED.png",
     "imageWidth": 2, "imageHeight": 2, "contentHash": "ffeeddccbbaa998877665544", "isPinned": False},
    {"id": "00000000-0000-4000-8000-000000000004", "kind": "pdf", "createdAt": "2026-01-01T07:00:00Z",
     "assetPath": folder + "/assets/UNPINNED.pdf", "imageWidth": 612, "imageHeight": 792,
     "contentHash": "0123456789abcdef01234567", "isPinned": False},
    {"id": "00000000-0000-4000-8000-000000000005", "kind": "file", "createdAt": "2026-01-01T06:00:00Z",
     "filePaths": ["/tmp/a b", "/tmp/c"], "isPinned": False},
]
json.dump(entries, open(folder + "/history.json", "w"), indent=2)
json.dump(entries, open(folder + "/expected.json", "w"))
PY
mv "$HISTORY_DIR/expected.json" "$TEST_ROOT/expected.json"
chmod 755 "$HISTORY_DIR"
chmod 644 "$HISTORY_DIR/history.json"

# Compares history.json with the expected entries (all of them, or only the pinned ones) and
# checks that the file is in the program's compact form, so it really was written.
history_holds() {
    "$PYTHON" - "$HISTORY_FILE" "$TEST_ROOT/expected.json" "$1" <<'PY'
import json, sys
raw = open(sys.argv[1], "rb").read()
actual = json.loads(raw)
expected = json.load(open(sys.argv[2]))
if sys.argv[3] == "pinned":
    expected = [entry for entry in expected if entry["isPinned"]]
assert actual == expected, "history.json holds %r" % actual
assert b"\n" not in raw and b": " not in raw, "history.json was not rewritten: %r" % raw[:80]
PY
}

rewrite_indented() {
    "$PYTHON" -c 'import json,sys; d=json.load(open(sys.argv[1])); json.dump(d, open(sys.argv[1], "w"), indent=2)' \
        "$HISTORY_FILE"
}

start_desktop
start_stashwell

wait_for 10 tray_icon_embedded || fail "the tray icon is not embedded in trayer"
screenshot startup-tray
note "tray icon embedded in trayer"

# A second launch leaves the history alone and says why it exits.
cp "$HISTORY_FILE" "$TEST_ROOT/before-second.json"
set +e
second_output=$(timeout 20 "$STASHWELL_BIN" 2>&1)
second_status=$?
set -e
[[ $second_status -eq 0 ]] || fail "second launch exited $second_status: $second_output"
[[ "$second_output" == *"Stashwell is already running."* ]] || fail "second launch said: $second_output"
cmp -s "$HISTORY_FILE" "$TEST_ROOT/before-second.json" || fail "the second launch changed history.json"
kill -0 "$STASHWELL_PID" 2>/dev/null || fail "the first copy ended with the second launch"
note "second launch refused, history untouched"

# SIGTERM: the history is written whole, orphans are swept, every entry's files stay.
stop_stashwell TERM
[[ $STASHWELL_STATUS -eq 0 ]] || fail "stashwell exited $STASHWELL_STATUS after SIGTERM"
history_holds all || fail "history.json after SIGTERM: $(cat "$HISTORY_FILE")"
for name in images/PINNED.png images/UNPINNED.png assets/UNPINNED.pdf; do
    [[ -f "$HISTORY_DIR/$name" ]] || fail "$name was deleted"
done
[[ ! -e "$HISTORY_DIR/images/0DDBA11E-0000-4000-8000-000000000001.png" ]] || fail "the orphaned image was not swept"
perms=$(stat -c %a "$HISTORY_DIR")
[[ $perms == 700 ]] || fail "history folder mode $perms"
perms=$(stat -c %a "$HISTORY_FILE")
[[ $perms == 600 ]] || fail "history file mode $perms"
note "SIGTERM: history flushed whole, orphan swept, private modes"

# SIGINT and SIGHUP run the same sequence.
for signal in INT HUP; do
    rewrite_indented
    start_stashwell
    stop_stashwell "$signal"
    [[ $STASHWELL_STATUS -eq 0 ]] || fail "stashwell exited $STASHWELL_STATUS after SIG$signal"
    history_holds all || fail "history.json after SIG$signal: $(cat "$HISTORY_FILE")"
done
note "SIGINT and SIGHUP flush the history too"

# With clear on quit, only the pinned entries and their files remain.
mkdir -p "$XDG_CONFIG_HOME/Stashwell"
echo '{"stashwell.clearOnQuit": true}' >"$XDG_CONFIG_HOME/Stashwell/defaults.json"
start_stashwell
stop_stashwell TERM
history_holds pinned || fail "history.json after clear on quit: $(cat "$HISTORY_FILE")"
[[ -f "$HISTORY_DIR/images/PINNED.png" ]] || fail "the pinned entry's image was deleted"
[[ ! -e "$HISTORY_DIR/images/UNPINNED.png" ]] || fail "the unpinned entry's image was kept"
[[ ! -e "$HISTORY_DIR/assets/UNPINNED.pdf" ]] || fail "the unpinned entry's document was kept"
[[ $(cat "$XDG_CONFIG_HOME/Stashwell/defaults.json") == '{"stashwell.clearOnQuit": true}' ]] \
    || fail "reading the settings rewrote defaults.json"
note "clear on quit keeps only the pinned entries and their files"
