# The popup on a real X server: opened from the tray icon, it stands on the bottom edge at full
# width, takes the keyboard, filters as the user types, and the keys and clicks that close it
# behave; screenshots of every kind of card, hover and selection, no matches and the empty state.
source "$(dirname "$0")/lib.sh"

start_desktop
python3 "$(dirname "$0")/make_history.py" "$XDG_DATA_HOME"
start_stashwell
wait_for 10 sh -c "xdotool search --pid $STASHWELL_PID | grep -q ." || fail "tray icon not embedded"
sleep 0.5
TRAY=$(xdotool search --pid "$STASHWELL_PID" | head -n1)

source "$(dirname "$0")/popup-lib.sh"
popup_layout

open_popup() {
    eval "$(xdotool getwindowgeometry --shell "$TRAY")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
    wait_for 5 popup_settled || fail "popup did not slide up to ($WA_X, $POPUP_Y) ${WA_W}x$POPUP_H; windows:
$(for w in $(xdotool search --pid "$STASHWELL_PID"); do xwininfo -id "$w" | grep -E 'xwininfo|Absolute|Width|Height|Map State'; done)"
    PANEL=$(popup_panel)
    wait_for 3 sh -c "[ \"\$(xdotool getactivewindow)\" = $PANEL ]" || fail "popup did not take the keyboard"
}

expect_closed() {
    wait_for 3 popup_closed || fail "popup still open after $1"
    note "$1 closes the popup"
}

history_texts() {
    python3 -c 'import json,sys; print("\n".join(i.get("text", i["kind"]) for i in json.load(open(sys.argv[1]))))' \
        "$HISTORY_FILE"
}

# What a pick put on the clipboard, where the clipboard answers (empty otherwise).
clipboard_text() {
    timeout 2 xclip -selection clipboard -o 2>/dev/null || true
}

open_popup
note "popup at the bottom of the screen, ${WA_W}x$POPUP_H, with the keyboard"
# Hover the first card (pinned and selected) to show its buttons.
xdotool mousemove 120 $((POPUP_Y + POPUP_H - 90))
sleep 0.4
screenshot popup-cards
# Hover the image card (fourth, after the pinned separator): its save button shows over the picture.
xdotool mousemove 860 $((POPUP_Y + POPUP_H - 90))
sleep 0.4
screenshot popup-image-hover
xdotool mousemove 800 $((POPUP_Y + POPUP_H - 90))
xdotool key Right Right Right Right Right Right Right
sleep 0.5
screenshot popup-scrolled
xdotool key Escape
expect_closed "Escape"

open_popup
xdotool type --delay 30 "zzz"
sleep 0.3
screenshot popup-no-match
xdotool key BackSpace BackSpace BackSpace
xdotool type --delay 30 "git"
sleep 0.3
screenshot popup-filtered
xdotool mousemove 800 100 click 1
expect_closed "a click elsewhere"

# Forward Delete removes the selected card (the third), and the history file follows.
open_popup
xdotool key Right Right Delete
wait_for 3 sh -c "[ \$(python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))))' '$HISTORY_FILE') -eq 11 ]" \
    || fail "Delete did not remove an entry: $(history_texts)"
history_texts | grep -q "git rebase" && fail "the selected card was not the one deleted"
note "Delete removed the selected card"
xdotool key Escape
expect_closed "Escape"

# Control+digit picks the second card whatever is typed; Alt+Return and Return pick too.
open_popup
xdotool type --delay 30 "a"
xdotool key ctrl+2
expect_closed "Control+2"
picked=$(clipboard_text)
[[ -z "$picked" || "$picked" == "https://github.com/stashwell/stashwell/issues/5" ]] || fail "Control+2 placed '$picked'"
[[ -n "$picked" ]] && note "Control+2 placed the second card on the clipboard"

open_popup
xdotool type --delay 30 "lorem"
xdotool key Return
expect_closed "Return"
picked=$(clipboard_text)
[[ -z "$picked" || "$picked" == Lorem* ]] || fail "Return after typing placed '$picked'"
[[ -n "$picked" ]] && note "typing filtered and Return placed the match on the clipboard"

open_popup
xdotool key alt+Return
expect_closed "Alt+Return"

# A second click on the tray icon while open closes it.
open_popup
eval "$(xdotool getwindowgeometry --shell "$TRAY")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
expect_closed "the tray icon"

stop_stashwell

# The empty state.
python3 "$(dirname "$0")/make_history.py" "$XDG_DATA_HOME" --empty
start_stashwell
wait_for 10 sh -c "xdotool search --pid $STASHWELL_PID | grep -q ." || fail "tray icon not embedded"
sleep 0.5
TRAY=$(xdotool search --pid "$STASHWELL_PID" | head -n1)
open_popup
sleep 0.3
screenshot popup-empty
xdotool key Escape
expect_closed "Escape"
stop_stashwell
