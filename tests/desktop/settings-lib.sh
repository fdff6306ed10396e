# Driving the tray menu and the settings window from a desktop test. Source after lib.sh, once
# stashwell runs.

# The tray icon: the small window of ours that trayer embedded.
tray_icon() {
    local id geometry
    for id in $(xdotool search --pid "$STASHWELL_PID" 2>/dev/null); do
        geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/ {print $2}')
        case $geometry in 16x16 | 22x22 | 24x24) echo "$id" && return 0 ;; esac
    done
    return 1
}

# Opens the tray menu with a right click on the icon.
open_tray_menu() {
    wait_for 10 tray_icon || fail "no tray icon window"
    local icon
    icon=$(tray_icon)
    eval "$(xdotool getwindowgeometry --shell "$icon")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
    sleep 0.7
}

# The tray menu is open: a visible window of ours, other than the icon, that the window manager
# does not manage (as menus are not).
tray_menu_shown() {
    local w icon
    icon=$(tray_icon) || return 1
    for w in $(xdotool search --onlyvisible --pid "$STASHWELL_PID" 2>/dev/null); do
        [[ $w != "$icon" ]] || continue
        xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' && return 0
    done
    return 1
}

tray_menu_closed() {
    ! tray_menu_shown
}

# Picks the menu entry at position $1 with the keyboard (1 = Show Clipboard, 2 = Settings…).
pick_tray_entry() {
    open_tray_menu
    local i
    for ((i = 0; i < $1; i++)); do
        xdotool key Down
        sleep 0.1
    done
    xdotool key Return
    sleep 0.5
}

settings_windows() {
    xdotool search --onlyvisible --name '^Stashwell Settings$' 2>/dev/null || true
}

# "Settings…" from the tray menu; SETTINGS_WINDOW is the window that shows.
open_settings() {
    pick_tray_entry 2
    wait_for 10 sh -c "xdotool search --onlyvisible --name '^Stashwell Settings\$'" || fail "Settings… opened no window"
    SETTINGS_WINDOW=$(settings_windows)
}

# The absolute position and size of a window's content as X, Y, WIDTH and HEIGHT (xdotool's
# geometry is off by the frame once the window manager has reparented the window).
window_origin() {
    local info
    info=$(xwininfo -id "$1")
    X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    WIDTH=$(awk '/Width:/ {print $2}' <<<"$info")
    HEIGHT=$(awk '/Height:/ {print $2}' <<<"$info")
}

window_shot() {
    import -window "$1" "$STASHWELL_ARTIFACTS/$2.png"
    note "screenshot: $STASHWELL_ARTIFACTS/$2.png"
}
