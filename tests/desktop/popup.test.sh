# The popup on a real X server: opened from the tray icon (Control+click opens the menu instead),
# it stands on the bottom edge at full width, takes the keyboard, filters as the user types, and
# the keys and clicks that pick or close it behave; a new copy while it is open leaves the strip
# where the user scrolled it; screenshots of every kind of card, hover and selection, no matches
# and the empty state.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings-lib.sh"
source "$(dirname "$0")/capture-lib.sh"

start_desktop
python3 "$(dirname "$0")/make_history.py" "$XDG_DATA_HOME"
start_stashwell
wait_for 10 tray_icon || fail "tray icon not embedded"
sleep 0.5

source "$(dirname "$0")/popup-lib.sh"
popup_layout

# Clicks the tray icon, with the keys given held (xdotool names: ctrl, shift...).
click_tray() {
    eval "$(xdotool getwindowgeometry --shell "$(tray_icon)")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    [[ $# -eq 0 ]] || xdotool keydown "$@"
    xdotool click 1
    [[ $# -eq 0 ]] || xdotool keyup "$@"
}

open_popup() {
    click_tray
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

# What a pick put on the clipboard (empty when nothing answers).
clipboard_text() {
    timeout 2 xclip -selection clipboard -o 2>/dev/null || true
}

# Fails unless the last pick put $2 on the clipboard; $1 names the pick.
expect_picked() {
    local picked
    picked=$(clipboard_text)
    [[ "$picked" == "$2" ]] || fail "$1 placed '$picked', not '$2'"
    note "$1 placed its card on the clipboard"
}

# A band across the card bodies, below their headers and above their footers (whose ages and
# numbers change with every copy), saved as $1.
strip_bodies_shot() {
    card_frame 0
    import -window root -crop "${WA_W}x60+$WA_X+$((CARD_Y + 60))" "$TEST_ROOT/$1.png"
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

# Control+digit picks the second card whatever is typed; Return and Alt+Return pick too.
open_popup
xdotool type --delay 30 "a"
xdotool key ctrl+2
expect_closed "Control+2"
expect_picked "Control+2" "https://github.com/stashwell/stashwell/issues/5"

open_popup
xdotool type --delay 30 "lorem"
xdotool key Return
expect_closed "Return"
expect_picked "Return after typing" "Lorem ipsum dolor sit amet, consectetur adipiscing elit. Sed do eiusmod tempor \
incididunt ut labore et dolore magna aliqua."

open_popup
xdotool key alt+Return
expect_closed "Alt+Return"
expect_picked "Alt+Return" "Wi-Fi password for the studio: blue-lantern-42"

# With Caps Lock on, a digit types into the empty search instead of picking: "5" finds the link.
open_popup
xdotool key Caps_Lock 5 Caps_Lock
sleep 0.3
popup_closed && fail "a digit with Caps Lock on picked a card"
xdotool key Return
expect_closed "Return after a digit with Caps Lock on"
expect_picked "Caps Lock and 5, then Return" "https://github.com/stashwell/stashwell/issues/5"

# Shift+click places the rich-text card (whose pick is RTF alone) as text alone: openbox, like many
# window managers, takes Alt+click to move the window.
open_popup
card_frame 3 2 # the Delete above took the card before it
xdotool mousemove $((CARD_X + CARD_W / 2)) $((CARD_Y + CARD_H / 2)) sleep 0.2 keydown shift click 1 keyup shift
expect_closed "Shift+click on a card"
targets_are "$TEXT_TARGETS" || fail "Shift+click on rich text offers: $(clipboard_targets)"
expect_picked "Shift+click" "Meeting notes
Ship the popup on Friday."

# The shortcut closes the popup it opened, and picks nothing.
open_popup_by_shortcut
before=$(clipboard_text)
xdotool key super+shift+v
expect_closed "the shortcut"
[[ $(clipboard_text) == "$before" ]] || fail "closing with the shortcut changed the clipboard: $(clipboard_text)"

# A second click on the tray icon while open closes it.
open_popup
click_tray
expect_closed "the tray icon"

# Control+click on the tray icon opens the menu, not the popup; once the menu is closed, a left
# click opens the popup again.
click_tray ctrl
wait_for 3 tray_menu_shown || fail "Control+click did not open the tray menu"
popup_closed || fail "Control+click opened the popup"
xdotool key Escape
wait_for 3 tray_menu_closed || fail "Escape did not close the tray menu"
open_popup
note "Control+click opens the tray menu; a left click after it toggles the popup"

# Scrolled along the strip past the pinned cards, the cards in view stay where they are when a new
# copy arrives.
card_frame 3 2
xdotool mousemove $((CARD_X + CARD_W / 2)) $((CARD_Y + CARD_H / 2)) click --repeat 5 --delay 50 5
xdotool mousemove $((WA_X + WA_W / 2)) $((POPUP_Y + 20)) # off the cards, so none shows its hover
sleep 0.6
strip_bodies_shot before-copy
copy_text "a copy made while the popup is open"
wait_for 5 grep -q "a copy made while the popup is open" "$HISTORY_FILE" || fail "the new copy was not recorded"
sleep 0.3
strip_bodies_shot after-copy
screenshot popup-after-a-new-copy
[[ $(compare -metric AE "$TEST_ROOT/before-copy.png" "$TEST_ROOT/after-copy.png" null: 2>&1) == 0 ]] ||
    fail "the strip moved when a copy arrived"
note "a new copy leaves the scrolled strip where it was"
xdotool key Escape
expect_closed "Escape"

stop_stashwell

# The empty state.
python3 "$(dirname "$0")/make_history.py" "$XDG_DATA_HOME" --empty
start_stashwell
wait_for 10 tray_icon || fail "tray icon not embedded"
sleep 0.5
open_popup
sleep 0.3
screenshot popup-empty
xdotool key Escape
expect_closed "Escape"
stop_stashwell
