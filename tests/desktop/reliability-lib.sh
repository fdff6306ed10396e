# Timing the popup for the reliability tests: opened with the global shortcut, measured from the
# key press to the panel on screen, then closed with Escape. Source after lib.sh, once the program runs.

source "$(dirname "${BASH_SOURCE[0]}")/popup-lib.sh"
popup_layout

# Opens the popup with Super+Shift+V and sets POPUP_MAPPED_MS (key press to the panel mapped),
# POPUP_SETTLED_MS (to the panel at rest on the bottom edge) and PANEL (its window).
open_popup_timed() {
    local out
    out=$("$STASHWELL_HELPERS/ui_timing" open super+shift+v "$STASHWELL_PID" "$WA_W" "$POPUP_Y" 5000) ||
        fail "the popup did not open at ($WA_X, $POPUP_Y) ${WA_W} wide: $out"
    read -r _ POPUP_MAPPED_MS _ POPUP_SETTLED_MS _ PANEL <<<"$out"
}

close_popup() {
    xdotool key Escape
    wait_for 5 popup_closed || fail "the popup did not close"
}

# Opens and closes the popup N times; sets POPUP_MEDIAN_MS and POPUP_WORST_MS (key to mapped).
time_popup() {
    local times=()
    for _ in $(seq 1 "$1"); do
        open_popup_timed
        times+=("$POPUP_MAPPED_MS")
        close_popup
    done
    read -r POPUP_MEDIAN_MS POPUP_WORST_MS < <(printf '%s\n' "${times[@]}" | sort -g |
        awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)], v[NR] }')
}
