# Entries whose previews could hold the popup up: file entries naming a FIFO and a link to
# /dev/zero, and rich text of 500,000 paragraphs in RTF and in HTML. With them in view the popup
# opens in its usual time, answers keys, keeps its memory, and SIGTERM still ends the program.
source "$(dirname "$0")/lib.sh"

start_desktop
"$PYTHON" "$(dirname "$0")/make_history.py" "$XDG_DATA_HOME"
start_stashwell
source "$(dirname "$0")/reliability-lib.sh"
time_popup 3
note "popup over an ordinary history: key to panel ${POPUP_MEDIAN_MS} ms (median of 3), worst ${POPUP_WORST_MS} ms"
open_popup_timed
sleep 0.5
screenshot previews-ordinary
close_popup
stop_stashwell

"$PYTHON" "$(dirname "$0")/make_history.py" "$XDG_DATA_HOME" --hostile
start_stashwell
time_popup 3
note "popup with the FIFO, /dev/zero and 500,000-paragraph entries in view: key to panel ${POPUP_MEDIAN_MS} ms" \
    "(median of 3), worst ${POPUP_WORST_MS} ms"

open_popup_timed
out=$("$STASHWELL_HELPERS/ui_timing" key Right "$PANEL") || fail "the popup did not answer the Right arrow"
note "Right arrow: $out"
sleep 1
screenshot previews-hostile
xdotool key Right Right Right Right Right Right # the rich-text cards to the middle
sleep 0.5
screenshot previews-hostile-rich
rss_kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$STASHWELL_PID/status")
note "resident memory with the popup open for a second: $((rss_kb / 1024)) MB"
((rss_kb < 400 * 1024)) || fail "stashwell grew to $((rss_kb / 1024)) MB with the popup open"
close_popup
stop_stashwell
note "SIGTERM ended the program (status $STASHWELL_STATUS)"
