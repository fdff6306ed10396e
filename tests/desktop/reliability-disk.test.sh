# A full disk: the history folder is a small tmpfs that fills up. A copy whose image cannot be
# written is dropped without a trace; when the history itself cannot be written the old file stays
# whole and the failure is logged once; the program stays responsive; when space returns, the next
# copy is recorded and saved together with the copies made meanwhile.
#
# Mounting needs a private mount namespace: as root `unshare --mount`, otherwise a user namespace
# (`unshare --user --map-root-user --mount`). Where neither is allowed the test says so and passes.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/capture-lib.sh"

if [[ $(id -u) -eq 0 ]]; then
    UNSHARE=(unshare --mount --propagation private)
else
    UNSHARE=(unshare --user --map-root-user --mount --propagation private)
fi
mkdir -p "$TEST_ROOT/probe"
if ! why=$("${UNSHARE[@]}" sh -c 'mount -t tmpfs -o size=1m tmpfs "$1"' sh "$TEST_ROOT/probe" 2>&1); then
    note "SKIP: no private mount namespace for a tmpfs here (${UNSHARE[*]}: $why)"
    exit 0
fi

start_desktop
mkdir -p "$HISTORY_DIR"
spawn "${UNSHARE[@]}" sh -c 'mount -t tmpfs -o size=4m,mode=0700 tmpfs "$1" && exec "$2"' sh "$HISTORY_DIR" \
    "$STASHWELL_BIN" >>"$STASHWELL_LOG" 2>&1
STASHWELL_PID=$LAST_PID
wait_for 10 sh -c "xdotool search --pid $STASHWELL_PID | grep -q ." || fail "stashwell did not start in its namespace"
sleep 0.5
source "$(dirname "$0")/reliability-lib.sh"
# The folder as the program sees it, on its tmpfs.
DATA="/proc/$STASHWELL_PID/root$HISTORY_DIR"
HISTORY_FILE="$DATA/history.json"
[[ $(stat -f -c %T "$DATA") == tmpfs ]] || fail "the history folder is not the tmpfs"

convert -size 400x400 xc: +noise Random "png:$TEST_ROOT/noise.png" # about 500 kB, incompressible
burst() {
    "$STASHWELL_HELPERS/copy_burst" --handshake --prefix "$@" >>"$TEST_ROOT/burst"
}
saved_failures() { grep -c 'could not save the history' "$STASHWELL_LOG" || true; }
image_files() { ls "$DATA/images" | wc -l; }
fill() {
    dd if=/dev/zero of="$DATA/$1" bs=64k 2>/dev/null && fail "the tmpfs never filled"
    return 0
}

# Before: three texts and a picture, saved.
burst before --count 4 --kinds text,text,text,image
history_count_is() { [[ $(history count) == "$1" ]]; }
wait_for 5 history_count_is 4 || fail "the first copies were not saved: $(cat "$HISTORY_FILE")"
[[ $(image_files) -eq 2 ]] || fail "a picture and its thumbnail expected: $(ls "$DATA/images")"
time_popup 5
note "popup with room on the disk: key to panel ${POPUP_MEDIAN_MS} ms (median of 5), worst ${POPUP_WORST_MS} ms"

# Room for the history, not for a picture: the picture's copy is dropped and leaves no file.
fill filler
truncate -s -48K "$DATA/filler"
own --target "image/png=@$TEST_ROOT/noise.png"
sleep 0.5
copy_text "after the picture"
expect_newest text="after the picture" || fail "a text copied on a nearly full disk was not saved: $(cat "$HISTORY_FILE")"
history newest kind=text && [[ $(history count) -eq 5 ]] ||
    fail "the picture that could not be stored was recorded: $(cat "$HISTORY_FILE")"
[[ $(image_files) -eq 2 ]] || fail "a picture that could not be written left files: $(ls -l "$DATA/images")"
note "nearly full: a picture that does not fit is dropped without files, texts are still saved"

# No room at all: the history cannot be written; the old file stays as it was.
fill filler2
cp "$HISTORY_FILE" "$TEST_ROOT/last-good.json"
failures_before=$(saved_failures)
for n in 1 2 3; do
    copy_text "full $n"
    sleep 0.5
done
own --target "image/png=@$TEST_ROOT/noise.png"
sleep 1.2
cmp -s "$HISTORY_FILE" "$TEST_ROOT/last-good.json" || fail "the history file changed on a full disk"
"$PYTHON" -c 'import json, sys; json.load(open(sys.argv[1]))' "$HISTORY_FILE" || fail "the history file no longer parses"
leftovers=$(find "$DATA" -maxdepth 1 -name 'history.json.*' | wc -l)
[[ $leftovers -eq 0 ]] || fail "failed saves left temporary files: $(ls "$DATA")"
[[ $(image_files) -eq 2 ]] || fail "files left in images/ on a full disk: $(ls -l "$DATA/images")"
[[ $(($(saved_failures) - failures_before)) -eq 1 ]] ||
    fail "a run of failed saves should be logged once: $(grep 'could not save' "$STASHWELL_LOG")"
kill -0 "$STASHWELL_PID" || fail "stashwell died on a full disk"
time_popup 5
note "disk full: history file unchanged, no partial files, one log line: $(grep 'could not save' "$STASHWELL_LOG" | tail -n1)"
note "popup with the disk full: key to panel ${POPUP_MEDIAN_MS} ms (median of 5), worst ${POPUP_WORST_MS} ms"

# Space again: the next copy is saved, with the copies made while the disk was full.
rm "$DATA/filler" "$DATA/filler2"
copy_text "space again"
expect_newest text="space again" || fail "capture did not resume when space returned: $(cat "$HISTORY_FILE")"
"$PYTHON" - "$HISTORY_FILE" <<'PY' || fail "copies made while the disk was full were lost: $(cat "$HISTORY_FILE")"
import json, sys
texts = [e.get("text") for e in json.load(open(sys.argv[1]))]
assert texts[:5] == ["space again", "full 3", "full 2", "full 1", "after the picture"], texts
PY
own --target "image/png=@$TEST_ROOT/noise.png"
expect_newest kind=image || fail "a picture copied after space returned: $(cat "$HISTORY_FILE")"
"$PYTHON" - "$DATA" <<'PY' || fail "history and stored files disagree"
import json, os, sys
folder = sys.argv[1]
# Entries name the files as the program sees them; here they are seen through /proc/PID/root.
named = {e[k].split("/Stashwell/", 1)[1] for e in json.load(open(os.path.join(folder, "history.json")))
         for k in ("imagePath", "thumbnailPath", "assetPath") if e.get(k)}
stored = {os.path.join(d, n) for d in ("images", "assets") for n in os.listdir(os.path.join(folder, d))}
assert named == stored and len(stored) == 4, (named, stored)
PY
note "space again: the next copies are saved, with the ones made while the disk was full"
stop_stashwell
