# Without a tray (stock GNOME on X11) Stashwell says so once, and the command line reaches the
# running copy over the session bus: a second launch opens its settings window, --toggle opens and
# closes the popup, --quit ends it with its termination sequence; with none running, --toggle and
# --settings start it first.
source "$(dirname "$0")/lib.sh"
WITH_TRAY=0
source "$(dirname "$0")/settings-lib.sh"
source "$(dirname "$0")/popup-lib.sh"

run() {
    set +e
    OUTPUT=$(timeout 20 "$STASHWELL_BIN" "$@" 2>&1)
    STATUS=$?
    set -e
}

run --version
[[ $STATUS -eq 0 && $OUTPUT =~ ^Stashwell\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version: $STATUS $OUTPUT"
run --bogus
[[ $STATUS -eq 2 && $OUTPUT == *"stashwell --help"* ]] || fail "an unknown option: $STATUS $OUTPUT"
note "--version and a bad option"

start_desktop
run --quit
[[ $STATUS -eq 0 && $OUTPUT == "Stashwell is not running." ]] || fail "--quit with none running: $STATUS $OUTPUT"

start_stashwell
wait_for 5 grep -q "no system tray is running" "$STASHWELL_LOG" || fail "no word about the missing tray"
[[ $(grep -c "no system tray" "$STASHWELL_LOG") -eq 1 ]] || fail "the missing tray was logged more than once"
note "no tray: said once in the log"

run
[[ $STATUS -eq 0 && $OUTPUT == "Stashwell is already running." ]] || fail "second launch: $STATUS $OUTPUT"
wait_for 5 sh -c '[ -n "$(xdotool search --onlyvisible --name "^Stashwell Settings$")" ]' \
    || fail "a second launch did not open the settings window"
note "a second launch opens the running Stashwell's settings"

popup_layout
run --toggle
[[ $STATUS -eq 0 && -z $OUTPUT ]] || fail "--toggle: $STATUS $OUTPUT"
wait_for 10 popup_ready || fail "--toggle did not open the popup"
run --toggle
wait_popup_closed "a second --toggle"
note "--toggle opens and closes the popup"

printf 'written before quitting' | xclip -selection clipboard
sleep 0.3
run --quit
[[ $STATUS -eq 0 ]] || fail "--quit: $STATUS $OUTPUT"
wait_for 10 sh -c "! kill -0 $STASHWELL_PID 2>/dev/null" || fail "--quit did not end Stashwell"
wait "$STASHWELL_PID" 2>/dev/null || fail "Stashwell ended with a failure after --quit"
grep -q "written before quitting" "$HISTORY_FILE" || fail "the history was not written at --quit"
note "--quit ends it, history written"

# With none running, --toggle starts Stashwell and opens the popup.
spawn "$STASHWELL_BIN" --toggle >>"$STASHWELL_LOG" 2>&1
STASHWELL_PID=$LAST_PID
wait_for 10 popup_ready || fail "--toggle with none running did not start Stashwell with its popup open"
note "--toggle starts Stashwell when none runs"
stop_stashwell
