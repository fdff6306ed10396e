# A copy of 50 MB of text: too long for the history, it is refused with a line in the log that says
# why (on a slow machine the read may outlast the capture's deadline instead, which the log says too); the main thread never stops answering for a second while it is read; the next copy is
# recorded; the popup and its search stay as fast as before.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/capture-lib.sh"

start_desktop
start_stashwell
source "$(dirname "$0")/reliability-lib.sh"

for n in $(seq 1 20); do
    copy_text "an ordinary copy number $n"
done
expect_newest text="an ordinary copy number 20" || fail "the ordinary copies were not recorded"
time_popup 5
note "popup before: key to panel ${POPUP_MEDIAN_MS} ms (median of 5), worst ${POPUP_WORST_MS} ms"
before=$POPUP_MEDIAN_MS

head -c 37500000 /dev/urandom | base64 -w 100 >"$TEST_ROOT/big.txt" # 50 MB in lines of 100
size=$(stat -c %s "$TEST_ROOT/big.txt")

window=$(xdotool search --pid "$STASHWELL_PID" | head -n1)
[[ -n $window ]] || fail "no window of stashwell to ping"
"$STASHWELL_HELPERS/wmping" "$window" 4000 10 >"$TEST_ROOT/ping" &
pinger=$!
sleep 0.2
copied=$EPOCHREALTIME
copy_file UTF8_STRING "$TEST_ROOT/big.txt"
REFUSED='copied text of .* characters was not recorded|did not hand over its content in time'
wait_for 15 grep -Eq "$REFUSED" "$STASHWELL_LOG" ||
    fail "the 50 MB text was not refused with a reason: $(tail -n 5 "$STASHWELL_LOG")"
refused_ms=$(awk -v a="$copied" -v b="$EPOCHREALTIME" 'BEGIN { printf "%d", (b - a) * 1000 }')
wait "$pinger" || fail "stashwell did not answer pings while the text was read"
slowest=$(awk '{print $6}' "$TEST_ROOT/ping")
note "50 MB text ($size bytes): refused within ${refused_ms} ms: $(grep -E "$REFUSED" "$STASHWELL_LOG" | tail -n1)"
note "main thread while it was read: slowest ping answer ${slowest} ms"
awk -v s="$slowest" 'BEGIN { exit !(s < 1000) }' || fail "the main thread stalled ${slowest} ms while the text was read"
"$PYTHON" -c 'import json, sys; sys.exit(any(len(e.get("text", "")) > 1048576 for e in json.load(open(sys.argv[1]))))' \
    "$HISTORY_FILE" || fail "the 50 MB text was recorded after all"

copy_text "the copy after the big one"
expect_newest text="the copy after the big one" || fail "the copy after the 50 MB text was not recorded"

time_popup 5
note "popup after: key to panel ${POPUP_MEDIAN_MS} ms (median of 5), worst ${POPUP_WORST_MS} ms"
awk -v f="$POPUP_MEDIAN_MS" -v b="$before" 'BEGIN { exit !(f < b + 500) }' ||
    fail "the popup opened in $POPUP_MEDIAN_MS ms after the 50 MB text, $before ms before"

open_popup_timed
out=$("$STASHWELL_HELPERS/ui_timing" key o "$PANEL") || fail "the popup did not answer a search keystroke"
note "search keystroke: $out"
close_popup
stop_stashwell
