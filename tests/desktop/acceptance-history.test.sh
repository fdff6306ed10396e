# What the history keeps, as a user sees it: entries pinned from the popup survive "Clear History"
# from the tray menu and clear-on-quit, with their files, while the others go with theirs; quitting
# from the menu and starting again shows the same history in the same order.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/capture-lib.sh"
source "$(dirname "$0")/settings-lib.sh"
source "$(dirname "$0")/popup-lib.sh"

APP_ID=org.example.Scratchpad
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME/Stashwell"
printf '[Desktop Entry]\nType=Application\nName=Scratchpad\nExec=scratchpad\nStartupWMClass=Scratchpad\n' \
    >"$XDG_DATA_HOME/applications/$APP_ID.desktop"
convert -size 320x200 gradient:'#ff9a5a-#6a3bd1' "$TEST_ROOT/sunset.png"
convert -size 300x240 gradient:'#b4ec51-#429321' "$TEST_ROOT/forest.png"

start_desktop
start_stashwell

spawn "$STASHWELL_HELPERS/text_field" --class Scratchpad >"$TEST_ROOT/field.log" 2>&1
wait_for 10 grep -q '^window' "$TEST_ROOT/field.log" || fail "the text field did not start"
FIELD_WINDOW=$(awk '/^window/ {print $2; exit}' "$TEST_ROOT/field.log")
activate "$FIELD_WINDOW"

# Types $1 into the field and copies it with Control+C.
copy_typed() {
    xdotool key ctrl+a
    xdotool type --delay 15 "$1"
    wait_for 10 sh -c "grep '^text ' '$TEST_ROOT/field.log' | tail -n 1 | grep -qxF 'text $1'" \
        || fail "typing '$1' reached the field as: $(tail -n 1 "$TEST_ROOT/field.log")"
    xdotool key ctrl+a ctrl+c
    wait_for 10 newest_unpinned_is "$1" || fail "copying '$1': $(history_lines)"
}

# The newest entry below the pinned ones is the text $1, copied from the field.
newest_unpinned_is() {
    "$PYTHON" - "$HISTORY_FILE" "$1" "$APP_ID" <<'PY'
import json, sys
entries = [e for e in json.load(open(sys.argv[1])) if not e["isPinned"]]
sys.exit(not (entries and entries[0].get("text") == sys.argv[2] and entries[0].get("sourceBundleID") == sys.argv[3]))
PY
}

copy_image() {
    copy_file image/png "$1"
    expect_newest kind=image imagePath=@file thumbnailPath=@file || fail "copying $1: $(cat "$HISTORY_FILE")"
}

# One line per entry: pin, kind, text or image file, in history order.
history_lines() {
    "$PYTHON" - "$HISTORY_FILE" <<'PY'
import json, sys
for e in json.load(open(sys.argv[1])):
    print("pinned" if e["isPinned"] else "-", e["kind"], e.get("text") or e.get("imagePath"))
PY
}

history_is() {
    [[ $(history_lines) == "$1" ]]
}

entry_field() {
    "$PYTHON" -c 'import json,sys; print(json.load(open(sys.argv[1]))[int(sys.argv[2])][sys.argv[3]])' \
        "$HISTORY_FILE" "$1" "$2"
}

# Quits with "Quit Stashwell" from the tray menu and waits for the program to end well.
quit_from_menu() {
    pick_tray_entry 4
    wait_for 15 sh -c "! kill -0 $STASHWELL_PID 2>/dev/null" || fail "Quit Stashwell did not end the program"
    local status=0
    wait "$STASHWELL_PID" 2>/dev/null || status=$?
    [[ $status -eq 0 ]] || fail "stashwell ended with status $status after Quit Stashwell"
}

# Picks card $1 of the popup with Control and its number; the clipboard then serves that entry.
pick_card() {
    open_popup_by_shortcut
    xdotool key "ctrl+$1"
    wait_popup_closed "Control+$1"
}

clipboard_text_is() {
    [[ $(timeout 5 xclip -o -selection clipboard 2>/dev/null) == "$1" ]]
}

# --- copies, and two of them pinned from the popup ------------------------------------------------
copy_typed "first note"
copy_image "$TEST_ROOT/sunset.png"
SUNSET=$(entry_field 0 imagePath)
SUNSET_THUMB=$(entry_field 0 thumbnailPath)
copy_typed "second note"
copy_image "$TEST_ROOT/forest.png"
FOREST=$(entry_field 0 imagePath)
FOREST_THUMB=$(entry_field 0 thumbnailPath)
copy_typed "third note"

open_popup_by_shortcut
click_pin_button 2 0
wait_for 5 history_is "pinned text second note
- text third note
- image $FOREST
- image $SUNSET
- text first note" || fail "pinning the third card: $(history_lines)"
click_pin_button 3 1
wait_for 5 history_is "pinned image $SUNSET
pinned text second note
- text third note
- image $FOREST
- text first note" || fail "pinning the fourth card: $(history_lines)"
sleep 0.3
screenshot acceptance-pinned
xdotool key Escape
wait_popup_closed "Escape"
note "two cards pinned from the popup"

# --- "Clear History" from the tray menu -----------------------------------------------------------
pick_tray_entry 3
wait_for 5 history_is "pinned image $SUNSET
pinned text second note" || fail "after Clear History: $(history_lines)"
[[ -f $SUNSET && -f $SUNSET_THUMB ]] || fail "Clear History removed the pinned image's files"
[[ ! -e $FOREST && ! -e $FOREST_THUMB ]] || fail "Clear History left the cleared image's files"
note "Clear History kept the pinned entries and their files, removed the rest with theirs"

# --- quitting and starting again ----------------------------------------------------------------
copy_typed "after the clear"
copy_typed "last words"
EXPECTED="pinned image $SUNSET
pinned text second note
- text last words
- text after the clear"
wait_for 5 history_is "$EXPECTED" || fail "before quitting: $(history_lines)"
cp "$HISTORY_FILE" "$TEST_ROOT/before-quit.json"
quit_from_menu
history_is "$EXPECTED" || fail "after Quit Stashwell: $(history_lines)"
note "Quit Stashwell saved the history as it was"

echo '{"stashwell.clearOnQuit": true}' >"$XDG_CONFIG_HOME/Stashwell/defaults.json"
start_stashwell
activate "$FIELD_WINDOW"
open_popup_by_shortcut
sleep 0.3
screenshot acceptance-restarted
xdotool key Escape
wait_popup_closed "Escape"
pick_card 1
wait_for 5 sh -c "timeout 5 xclip -o -selection clipboard -t image/png | cmp -s - '$SUNSET'" \
    || fail "the first card after the restart is not the pinned image"
for pick in "2 second note" "3 last words" "4 after the clear"; do
    pick_card "${pick%% *}"
    wait_for 5 clipboard_text_is "${pick#* }" || fail "card ${pick%% *} after the restart: '$(timeout 5 xclip -o -selection clipboard)'"
done
cmp -s "$HISTORY_FILE" "$TEST_ROOT/before-quit.json" || history_is "$EXPECTED" \
    || fail "the restart changed the history: $(history_lines)"
note "after a restart the popup shows the same four entries in the same order"

# --- clear-on-quit --------------------------------------------------------------------------------
quit_from_menu
history_is "pinned image $SUNSET
pinned text second note" || fail "after quitting with clear-on-quit: $(history_lines)"
[[ -f $SUNSET && -f $SUNSET_THUMB ]] || fail "clear-on-quit removed the pinned image's files"
note "clear-on-quit kept only the pinned entries"

start_stashwell
activate "$FIELD_WINDOW"
pick_card 2
wait_for 5 clipboard_text_is "second note" || fail "the pinned text did not survive: $(history_lines)"
stop_stashwell
note "the pinned entries are there after the next start"
