# A defaults file edited by hand with values out of range or of the wrong type: the settings window
# opens, shows them as stored, and writes nothing back until the user changes a setting.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings-lib.sh"

DEFAULTS="$XDG_CONFIG_HOME/Stashwell/defaults.json"
mkdir -p "$XDG_CONFIG_HOME/Stashwell"
cat >"$DEFAULTS" <<'JSON'
{
  "stashwell.maxHistoryItems": 100000,
  "stashwell.popupHeightFraction": 3.0,
  "stashwell.pauseCapture": "yes",
  "stashwell.autoPasteOnSelect": 1,
  "stashwell.clearOnQuit": null,
  "stashwell.hotkey.keyCode": "nine",
  "stashwell.hotkey.modifiers": -5,
  "stashwell.ignoredBundleIDs": ["org.example.App", 42]
}
JSON
before=$(sha256sum <"$DEFAULTS")

start_desktop
start_stashwell
open_settings
# Long enough for the permission poll to tick and for anything queued to run.
sleep 2.5
kill -0 "$STASHWELL_PID" || fail "stashwell ended with the hand-edited defaults"
[[ $(sha256sum <"$DEFAULTS") == "$before" ]] || fail "opening the window rewrote the defaults: $(cat "$DEFAULTS")"
window_shot "$SETTINGS_WINDOW" settings-window-hand-edited-defaults
note "hand-edited defaults shown and left alone"

# The first change the user makes is written, and only that one.
window_origin "$SETTINGS_WINDOW"
xdotool mousemove $((X + 31)) $((Y + 201)) click 1 # "Pause clipboard capture"
wait_for 5 sh -c "grep -q '\"stashwell.pauseCapture\": true' '$DEFAULTS'" || fail "the toggle was not written: $(cat "$DEFAULTS")"
"$PYTHON" - "$DEFAULTS" <<'PY' || fail "other values were rewritten: $(cat "$DEFAULTS")"
import json, sys
values = json.load(open(sys.argv[1]))
assert values["stashwell.maxHistoryItems"] == 100000, values
assert values["stashwell.popupHeightFraction"] == 3.0, values
assert values["stashwell.hotkey.keyCode"] == "nine", values
assert values["stashwell.ignoredBundleIDs"] == ["org.example.App", 42], values
PY
note "the user's change alone is written"
stop_stashwell
