#!/usr/bin/env bash
# Measures the two ways of showing the popup on a headless sway (not a test: it prints what it sees
# and keeps screenshots in $STASHWELL_ARTIFACTS). Needs `cmake --build build --target popup_probe`.
#   STASHWELL_HELPERS=build/tests bash tests/desktop/prototypes/popup-probe.sh
source "$(dirname "$0")/../sway-lib.sh"

HEIGHT=300
install_programs "$STASHWELL_HELPERS/popup_probe"
start_sway
TARGET="$HOME/typed.txt"
spawn_user foot -a foot sh -c "cat > '$TARGET'" 2>/dev/null
wait_for 10 focused_is foot || fail "foot did not get the focus"

ms() { date +%s%3N; }
probe_said() { grep -q "$1" "$PROBE_OUT"; }
# Typing reaches foot again once the popup is gone: foot's cat writes the line down.
focus_returned() {
    as_user wtype -s 100 "$1"
    as_user wtype -s 100 -k Return
    wait_for 3 grep -q "$1" "$TARGET"
}

for mode in xcb xcb-rule layer; do
    PROBE_OUT="$TEST_ROOT/probe-$mode.out"
    started=$(ms)
    if [[ $mode == xcb* ]]; then
        use_xwayland
        placement="floating enable, resize set 1920 $HEIGHT, move absolute position 0 $((1080 - HEIGHT))"
        if [[ $mode == xcb-rule ]]; then
            # The rule is given before the window exists: sway applies it as the window maps.
            as_user swaymsg -q "for_window [class=\"popup_probe\"] \"$placement\""
        fi
        spawn_user "$BIN_DIR/popup_probe" xcb "$HEIGHT" >"$PROBE_OUT" 2>"$TEST_ROOT/probe-$mode.err"
        PID=$LAST_PID
        wait_for 10 as_user sh -c "swaymsg -t get_tree -r | grep -q '\"pid\": $PID'" || fail "no window of the probe"
        mapped=$(ms)
        first=$(as_user swaymsg -t get_tree -r | "$PYTHON" -c "
import json, sys
def walk(n):
    if n.get('pid') == $PID:
        print(n['rect']['x'], n['rect']['y'], n['rect']['width'], n['rect']['height'])
    for c in n.get('nodes', []) + n.get('floating_nodes', []):
        walk(c)
walk(json.load(sys.stdin))")
        if [[ $mode == xcb ]]; then
            as_user swaymsg -q "[pid=$PID] $placement"
        fi
        placed=$(ms)
        note "$mode: window mapped after $((mapped - started)) ms at $first, placed $((placed - mapped)) ms later"
        as_user swaymsg -t get_tree -r | "$PYTHON" -c "
import json, sys
def walk(n):
    if n.get('pid') == $PID:
        print('# $mode: rect', n['rect'], 'focused', n['focused'], 'type', n['type'], 'shell', n.get('shell'))
    for c in n.get('nodes', []) + n.get('floating_nodes', []):
        walk(c)
walk(json.load(sys.stdin))"
    else
        spawn_user "$BIN_DIR/popup_probe" layer "$HEIGHT" >"$PROBE_OUT" 2>"$TEST_ROOT/probe-$mode.err"
        wait_for 10 probe_said configured || fail "the layer surface was never configured: $(cat "$TEST_ROOT/probe-$mode.err")"
        note "layer: configured after $(($(ms) - started)) ms: $(grep configured "$PROBE_OUT")"
    fi
    sleep 0.3
    screenshot "popup-probe-$mode"
    as_user wtype -s 100 "abc"
    wait_for 3 probe_said "typed abc" && note "$mode: keys reach the popup at once" || note "$mode: keys do NOT reach the popup"
    note "$mode: sway focuses $(focused_app)"
    as_user wtype -s 100 -k Escape
    wait_for 3 probe_said escape && note "$mode: Escape closes" || note "$mode: Escape did not arrive"
    sleep 0.3
    note "$mode: after closing, sway focuses $(focused_app)"
    focus_returned "back-from-$mode" && note "$mode: the keyboard is back in foot" || note "$mode: the keyboard did NOT come back to foot"
    note "$mode: the probe said: $(tr '\n' '|' <"$PROBE_OUT")"
done
note "foot received: $(tr '\n' '|' <"$TARGET")"
