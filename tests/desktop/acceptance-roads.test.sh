# The whole road of a copy and of a pick, as a user walks it: Control+C in another application
# records the entry with that application as its source; the shortcut opens the popup, typing
# filters, Return picks, and the text is pasted back into the window that was in front. Alt picks
# paste plain text only: a rich editor receives no formatting and the clipboard offers text alone.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/capture-lib.sh"
source "$(dirname "$0")/popup-lib.sh"

FIELD="$STASHWELL_HELPERS/text_field"
APP_ID=org.example.Scratchpad
APP_NAME="Scratchpad Notes"

# The helper names itself Scratchpad in WM_CLASS; its desktop entry gives it an id, a name and an
# icon, as an installed application has.
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_DATA_HOME/icons"
convert -size 128x128 xc:none -fill '#E8663D' -draw 'roundrectangle 8,8 120,120 28,28' \
    -fill white -draw 'rectangle 34,40 94,48' -draw 'rectangle 34,60 94,68' "$XDG_DATA_HOME/icons/scratchpad.png"
cat >"$XDG_DATA_HOME/applications/$APP_ID.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=$APP_NAME
Exec=scratchpad
Icon=$XDG_DATA_HOME/icons/scratchpad.png
StartupWMClass=Scratchpad
ENTRY

start_desktop
start_stashwell

FIELD_COUNT=0
# Starts a text_field window with the given arguments and waits until it is the active window;
# FIELD_LOG and FIELD_WINDOW describe it.
start_field() {
    FIELD_COUNT=$((FIELD_COUNT + 1))
    FIELD_LOG="$TEST_ROOT/field.$FIELD_COUNT.log"
    spawn "${FIELD_PROGRAM:-$FIELD}" --class "${FIELD_CLASS:-Scratchpad}" "$@" >"$FIELD_LOG" 2>&1
    wait_for 10 grep -q '^window' "$FIELD_LOG" || fail "the text field did not start: $(cat "$FIELD_LOG")"
    FIELD_WINDOW=$(awk '/^window/ {print $2; exit}' "$FIELD_LOG")
    activate "$FIELD_WINDOW"
}

# The field's latest report of kind $1 ("text" or "rich") is exactly $2.
field_says() {
    [[ $(grep "^$1 " "$FIELD_LOG" | tail -n 1) == "$1 $2" ]]
}

# Empties the field with the keyboard.
clear_field() {
    xdotool key ctrl+a BackSpace
    wait_for 10 field_says text "" || fail "the field was not emptied: $(tail -n 3 "$FIELD_LOG")"
}


history_ids() {
    "$PYTHON" -c 'import json,sys; print(" ".join(e["id"] for e in json.load(open(sys.argv[1]))))' "$HISTORY_FILE"
}

# --- the road of one copy ----------------------------------------------------------------------
start_field
for text in "alpha apples" "bravo bananas" "charlie cherries"; do
    xdotool key ctrl+a
    xdotool type --delay 15 "$text"
    wait_for 10 field_says text "$text" || fail "typing '$text' reached the field as: $(tail -n 1 "$FIELD_LOG")"
    xdotool key ctrl+a ctrl+c
    expect_newest kind=text text="$text" sourceBundleID=$APP_ID "sourceAppName=$APP_NAME" \
        || fail "Control+C of '$text': $(HISTORY_VERBOSE=1 history newest text="$text" sourceBundleID=$APP_ID 2>&1)"
done
[[ $(history count) == 3 ]] || fail "three copies made $(history count) entries: $(cat "$HISTORY_FILE")"
note "Control+C in Scratchpad recorded three entries from $APP_ID ($APP_NAME)"

# --- the road of one pick ----------------------------------------------------------------------
before=$(history_ids)
clear_field
open_popup_by_shortcut
screenshot acceptance-popup
xdotool type --delay 40 "banan"
sleep 0.3
screenshot acceptance-popup-filtered
xdotool key Return
wait_popup_closed "Return"
wait_for 10 field_says text "bravo bananas" || fail "the pick did not arrive in the field: $(tail -n 5 "$FIELD_LOG")"
grep -qx 'key Ctrl+V' "$FIELD_LOG" || fail "the field saw no Control+V"
[[ $(xdotool getactivewindow) == "$FIELD_WINDOW" ]] || fail "the field's window is not active after the pick"
wait_for 5 targets_are "$TEXT_TARGETS" || fail "a text pick offers: $(clipboard_targets)"
sleep 0.5
[[ $(history_ids) == "$before" ]] || fail "the pick changed the history: $(cat "$HISTORY_FILE")"
note "Super+Shift+V, typing 'banan' and Return pasted 'bravo bananas' back into Scratchpad; history unchanged"

# --- picks with Alt paste plain text -----------------------------------------------------------
# A rich document copied from a rich editor becomes an HTML entry.
start_field --html '<h2>Meeting notes</h2><p>Bring the <b>quarterly figures</b> and <a href="https://example.org/plan">the plan</a>.</p><ul><li>budget</li><li>hiring</li></ul>'
xdotool key ctrl+a ctrl+c
expect_newest kind=html text^="Meeting notes" assetPath=@file sourceBundleID=$APP_ID \
    || fail "copying rich text: $(HISTORY_VERBOSE=1 history newest kind=html assetPath=@file 2>&1)"
note "a rich document copied from Scratchpad became an HTML entry"

# An empty rich editor receives the picks; what its document holds shows what arrived.
start_field --rich
open_popup_by_shortcut
xdotool key alt+Return
wait_popup_closed "Alt+Return"
wait_for 10 grep -q '^text Meeting notes' "$FIELD_LOG" || fail "Alt+Return pasted nothing: $(cat "$FIELD_LOG")"
wait_for 5 field_says rich none || fail "Alt+Return pasted formatting: $(tail -n 2 "$FIELD_LOG")"
wait_for 5 targets_are "$TEXT_TARGETS" || fail "after Alt+Return the clipboard offers: $(clipboard_targets)"
note "Alt+Return pasted the HTML entry as plain text; the clipboard offers text alone"

clear_field
wait_for 5 field_says rich none || fail "the emptied editor kept formatting: $(tail -n 2 "$FIELD_LOG")"
open_popup_by_shortcut
xdotool key Return
wait_popup_closed "Return"
wait_for 10 sh -c "grep '^rich ' '$FIELD_LOG' | tail -n 1 | grep -q 'bold.*link'" \
    || fail "Return did not paste the formatting: $(tail -n 2 "$FIELD_LOG")"
wait_for 5 targets_are "text/html " || fail "after Return the clipboard offers: $(clipboard_targets)"
note "Return pasted the same entry with its bold text and link; the clipboard offers HTML alone"

# RTF from another program: Alt+Return gives its text, Return its RTF.
cat >"$TEST_ROOT/letter.rtf" <<'RTF'
{\rtf1\ansi\deff0{\fonttbl{\f0\froman Times New Roman;}{\f1\fswiss Helvetica;}}
{\colortbl;\red200\green30\blue30;}
{\f1\fs48\b Dear Ada,}\par
{\f0\fs24 the \i engine\i0  is \cf1 ready\cf0 .}\par}
RTF
own --target "text/rtf=@$TEST_ROOT/letter.rtf" --target "UTF8_STRING=Dear Ada,
the engine is ready."
expect_newest kind=richText text^="Dear Ada," assetPath=@file sourceBundleID=$APP_ID \
    || fail "RTF copy: $(HISTORY_VERBOSE=1 history newest kind=richText 2>&1)"
clear_field
open_popup_by_shortcut
screenshot acceptance-popup-rich
xdotool key alt+Return
wait_popup_closed "Alt+Return"
wait_for 10 field_says text 'Dear Ada,\nthe engine is ready.\n' || fail "Alt+Return on RTF pasted: $(tail -n 2 "$FIELD_LOG")"
field_says rich none || fail "Alt+Return on RTF pasted formatting: $(tail -n 1 "$FIELD_LOG")"
wait_for 5 targets_are "$TEXT_TARGETS" || fail "after Alt+Return on RTF the clipboard offers: $(clipboard_targets)"
open_popup_by_shortcut
xdotool key Return
wait_popup_closed "Return"
wait_for 5 targets_are "text/rtf " || fail "after Return on RTF the clipboard offers: $(clipboard_targets)"
timeout 5 xclip -o -selection clipboard -t text/rtf | cmp -s - "$TEST_ROOT/letter.rtf" || fail "the RTF served differs"
note "RTF: Alt+Return pasted its text alone, Return put the RTF back byte for byte"

# A program that two desktop entries run (an editor and its settings panel, as mousepad has) and
# whose window names neither is still named: by the entry whose id ends with the program's name.
mkdir -p "$TEST_ROOT/bin"
cp "$FIELD" "$TEST_ROOT/bin/scribble"
printf '[Desktop Entry]\nType=Application\nName=Scribble Settings\nExec=scribble --preferences\n' \
    >"$XDG_DATA_HOME/applications/org.example.scribble-settings.desktop"
printf '[Desktop Entry]\nType=Application\nName=Scribble Pad\nExec=scribble %%U\n' \
    >"$XDG_DATA_HOME/applications/org.example.scribble.desktop"
FIELD_PROGRAM="$TEST_ROOT/bin/scribble" FIELD_CLASS=Notepadish start_field
xdotool type --delay 15 "delta dates"
wait_for 10 field_says text "delta dates" || fail "typing reached the field as: $(tail -n 1 "$FIELD_LOG")"
xdotool key ctrl+a ctrl+c
expect_newest kind=text text="delta dates" sourceBundleID=org.example.scribble "sourceAppName=Scribble Pad" \
    || fail "Control+C in scribble: $(HISTORY_VERBOSE=1 history newest text="delta dates" 2>&1)"
note "a program run by two desktop entries is named by the one named after it"

stop_stashwell
