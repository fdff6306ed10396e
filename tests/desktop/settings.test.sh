# The settings window: "Settings…" in the tray menu opens one window however often it is chosen; its
# cap slider trims the history at once; "Add App…" ignores the chosen application; a combination
# another program holds reaches the recorder but is refused, and the old shortcut keeps working; a
# free one is stored, registered and shown in the tray menu.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings-lib.sh"

PROBE=("$STASHWELL_HELPERS/grab_key" --probe)
DEFAULTS="$XDG_CONFIG_HOME/Stashwell/defaults.json"

# 80 unpinned entries and a cap of 200.
mkdir -p "$HISTORY_DIR" "$XDG_CONFIG_HOME/Stashwell"
chmod 700 "$HISTORY_DIR"
"$PYTHON" - "$HISTORY_FILE" <<'PY'
import json, sys, uuid
entries = [{"id": str(uuid.uuid4()).upper(), "kind": "text",
            "createdAt": "2024-05-01T12:%02d:%02dZ" % (59 - i // 60, 59 - i % 60),
            "isPinned": False, "text": "entry %d" % i, "characterCount": len("entry %d" % i)} for i in range(80)]
json.dump(entries, open(sys.argv[1], "w"))
PY
chmod 600 "$HISTORY_FILE"
echo '{"stashwell.maxHistoryItems": 200, "stashwell.ignoredBundleIDs": ["org.example.Vault", "xterm"]}' >"$DEFAULTS"

# Places in the window's content (520 × 640, fonts of the test desktop), from its top-left corner.
CAP_SLIDER_HANDLE=(101 323) # the cap slider's handle at 200
RECORDER=(370 478)          # the shortcut button
ADD_APP=(63 526)            # "Add App…" once the page is scrolled to its end

defaults_value() {
    "$PYTHON" -c 'import json,sys; print(json.load(open(sys.argv[1])).get(sys.argv[2]))' "$DEFAULTS" "$1"
}

stored_is() {
    [[ $(defaults_value "$1") == "$2" ]]
}

history_holds() {
    [[ $(history_length) == "$1" ]]
}

history_length() {
    "$PYTHON" -c 'import json,sys; print(len(json.load(open(sys.argv[1]))))' "$HISTORY_FILE"
}

# Whether some client holds an X key combination (keycode, X modifier mask) on the root window.
held() {
    [[ $("${PROBE[@]}" "$1" "$2") == taken ]]
}

start_desktop
start_stashwell
wait_for 10 sh -c "xdotool search --pid $STASHWELL_PID | grep -q ." || fail "tray icon not embedded"
sleep 0.5

# X keycodes and masks: V 55, K 45; Super+Shift 65 (0x41), Control+Alt 12 (0xC).
wait_for 5 held 55 65 || fail "Super+Shift+V is not registered at start"

# --- one window, however often it is asked for -------------------------------------------------
open_settings
window=$SETTINGS_WINDOW
pick_tray_entry 2
pick_tray_entry 2
[[ $(settings_windows | wc -l) -eq 1 ]] || fail "$(settings_windows | wc -l) settings windows after three openings"
[[ $(settings_windows) == "$window" ]] || fail "the settings window was rebuilt while open"
window_origin "$window"
[[ $WIDTH -eq 520 && $HEIGHT -eq 640 ]] || fail "settings window is ${WIDTH}x$HEIGHT"
centre_x=$((X + WIDTH / 2))
((centre_x >= 795 && centre_x <= 805)) || fail "settings window not centred: x $X"
sleep 0.5
window_shot "$window" settings-window
note "one settings window, 520x640, centred"

# The lower half of the window, scrolled with the wheel.
xdotool mousemove $((X + 260)) $((Y + 400))
for _ in 1 2 3 4 5 6 7 8 9 10; do xdotool click 5; done
sleep 0.5
window_shot "$window" settings-window-lower

# "Add App…" asks for a desktop entry; the chosen entry's id joins the ignored apps.
mkdir -p "$XDG_DATA_HOME/applications"
printf '[Desktop Entry]\nType=Application\nName=Notes\nExec=notes\n' >"$XDG_DATA_HOME/applications/org.example.Notes.desktop"
xdotool mousemove $((X + ADD_APP[0])) $((Y + ADD_APP[1])) click 1
wait_for 10 sh -c "xdotool search --onlyvisible --name '^Choose an App to Ignore\$'" || fail "Add App… opened no dialog"
dialog=$(xdotool search --onlyvisible --name '^Choose an App to Ignore$')
sleep 0.5
window_shot "$dialog" add-app-dialog
xdotool type --delay 20 "$XDG_DATA_HOME/applications/org.example.Notes.desktop"
xdotool key Return
wait_for 5 sh -c "grep -q org.example.Notes '$DEFAULTS'" || fail "the chosen app was not ignored: $(cat "$DEFAULTS")"
note "Add App… ignored org.example.Notes"
for _ in 1 2 3 4 5 6 7 8 9 10; do xdotool click 4; done
sleep 0.5
[[ $(defaults_value stashwell.popupHeightFraction) == None ]] || fail "scrolling the page changed the popup height"

# --- the cap slider trims the history while it moves --------------------------------------------
[[ $(history_length) -eq 80 ]] || fail "history.json does not hold the 80 entries"
xdotool mousemove $((X + CAP_SLIDER_HANDLE[0])) $((Y + CAP_SLIDER_HANDLE[1])) mousedown 1
for offset in 80 60 40 20 0 -40; do
    xdotool mousemove $((X + offset)) $((Y + CAP_SLIDER_HANDLE[1]))
    sleep 0.05
done
xdotool mouseup 1
wait_for 5 stored_is stashwell.maxHistoryItems 50 \
    || fail "cap after the drag: $(defaults_value stashwell.maxHistoryItems)"
wait_for 5 history_holds 50 \
    || fail "history.json holds $(history_length) entries after the cap went to 50"
kill -0 "$STASHWELL_PID" || fail "stashwell ended"
note "cap slider dragged to 50: history trimmed to 50 at once"

# --- a combination another program holds ------------------------------------------------------
# openbox binds Super+D to "show desktop". While recording, the keyboard is the recorder's, so the
# combination arrives; registering it fails, and the previous shortcut is stored and held again.
xdotool mousemove $((X + RECORDER[0])) $((Y + RECORDER[1])) click 1
sleep 0.5
window_shot "$window" settings-window-recording
xdotool key super+d
wait_for 5 grep -q 'Stashwell: failed to register hotkey Super+D: -9878' "$STASHWELL_LOG" \
    || fail "Super+D did not reach the recorder, or was registered"
sleep 0.3
[[ $(settings_windows) == "$window" ]] || fail "the window manager took Super+D while recording"
stored_is stashwell.hotkey.keyCode 9 && stored_is stashwell.hotkey.modifiers 768 \
    || fail "a held combination stayed in the settings: $(cat "$DEFAULTS")"
held 55 65 || fail "the previous shortcut Super+Shift+V is not registered again"
window_shot "$window" settings-window-shortcut-in-use
note "Super+D (held by openbox) refused; Super+Shift+V kept and registered"

# --- recording Control+Alt+K --------------------------------------------------------------------
xdotool mousemove $((X + RECORDER[0])) $((Y + RECORDER[1])) click 1
sleep 0.5
xdotool key ctrl+alt+k
wait_for 5 stored_is stashwell.hotkey.keyCode 40 || fail "Control+Alt+K not stored: $(cat "$DEFAULTS")"
stored_is stashwell.hotkey.modifiers 6144 || fail "modifiers stored: $(defaults_value stashwell.hotkey.modifiers)"
stored_is stashwell.hotkey.keyLabel K || fail "label stored: $(defaults_value stashwell.hotkey.keyLabel)"
held 45 12 || fail "Control+Alt+K is not registered"
held 55 65 && fail "Super+Shift+V is still registered"
note "Control+Alt+K recorded, stored and registered; Super+Shift+V released"

# The tray menu's first entry now reads "Show Clipboard (Ctrl+Alt+K)" (the unit tests read the title; this
# is a picture of it).
open_tray_menu
screenshot tray-menu-after-recording
xdotool key Escape
sleep 0.3

# --- closing and reopening builds a fresh window ------------------------------------------------
xdotool windowactivate --sync "$window"
xdotool key alt+F4
wait_for 5 sh -c "! xdotool search --onlyvisible --name '^Stashwell Settings\$'" || fail "the settings window did not close"
open_settings
reopened=$SETTINGS_WINDOW
[[ $reopened != "$window" ]] || fail "the closed window came back instead of a new one"
note "reopened as a new window"

stop_stashwell
