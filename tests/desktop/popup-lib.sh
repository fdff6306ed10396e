# Driving the popup from a desktop test or the demo: open it with the shortcut as a user does,
# wait until it has settled or closed, and find a card and its pin button on the screen. Source
# after lib.sh, once stashwell runs.

# The popup's share of the work area's height (the default setting unless the caller says).
POPUP_FRACTION=${POPUP_FRACTION:-0.32}
# The search block above the strip on the test desktop's fonts: 14 + the bar + 12.
POPUP_SEARCH_BLOCK=64

popup_layout() {
    read -r WA_X WA_Y WA_W WA_H < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | awk '{print $1, $2, $3, $4}')
    POPUP_H=$("$PYTHON" -c "import math; print(math.floor($WA_H * $POPUP_FRACTION))")
    POPUP_Y=$((WA_Y + WA_H - POPUP_H))
}

# The panel: the visible window of ours that spans the whole work area's width.
popup_panel() {
    local w
    [[ -n ${WA_W:-} ]] || popup_layout
    for w in $(xdotool search --onlyvisible --pid "$STASHWELL_PID" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" || continue
        if [[ $WIDTH -eq $WA_W ]]; then
            echo "$w"
            return 0
        fi
    done
    return 1
}

# The panel stands on the bottom edge at its full height.
popup_settled() {
    local w
    w=$(popup_panel) || return 1
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [[ $X -eq $WA_X && $Y -eq $POPUP_Y && $HEIGHT -eq $POPUP_H ]]
}

# ... and has the keyboard.
popup_ready() {
    popup_settled && [[ $(xdotool getactivewindow 2>/dev/null) == "$(popup_panel)" ]]
}

popup_closed() {
    ! popup_panel >/dev/null
}

# Presses the global shortcut and waits for the popup to slide up and take the keyboard.
open_popup_by_shortcut() {
    popup_layout
    xdotool key super+shift+v
    wait_for 15 popup_ready || fail "the shortcut did not open the popup (panel: $(popup_panel || echo none))"
}

wait_popup_closed() {
    wait_for 10 popup_closed || fail "the popup is still open after $1"
}

# The frame of the card at position $1 (0 for the first) while the strip is scrolled to its start,
# as CARD_X, CARD_Y, CARD_W and CARD_H; $2 is the number of pinned cards in front (the separator
# after them shifts the cards that follow).
card_frame() {
    local position=$1 pinned=${2:-0} shift=0
    [[ -n ${POPUP_H:-} ]] || popup_layout
    CARD_H=$((POPUP_H - POPUP_SEARCH_BLOCK - 24))
    ((CARD_H >= 160)) || CARD_H=160
    CARD_W=$("$PYTHON" -c "print(max(0.85 * $CARD_H, 220))")
    ((pinned > 0 && position >= pinned)) && shift=24
    CARD_X=$("$PYTHON" -c "print(int($WA_X + 24 + $position * ($CARD_W + 14) + $shift))")
    CARD_W=${CARD_W%.*}
    CARD_Y=$((POPUP_Y + POPUP_H - 12 - CARD_H))
}

# What the clipboard offers, sorted, on one line (X's own targets left out); what a text pick offers.
clipboard_targets() {
    timeout 5 xclip -o -selection clipboard -t TARGETS | grep -vxE 'TARGETS|TIMESTAMP|MULTIPLE' | LC_ALL=C sort | tr '\n' ' '
}
TEXT_TARGETS="STRING UTF8_STRING text/plain text/plain;charset=utf-8 "

targets_are() {
    [[ $(clipboard_targets) == "$1" ]]
}

# Hovers the card at position $1 ($2 pinned cards in front) and clicks its pin button.
click_pin_button() {
    card_frame "$@"
    xdotool mousemove $((CARD_X + CARD_W / 2)) $((CARD_Y + CARD_H / 2))
    sleep 0.4
    # In the header, left of the delete button and the source icon.
    xdotool mousemove $((CARD_X + CARD_W - 84)) $((CARD_Y + 22))
    sleep 0.2
    xdotool click 1
}
