# Capture on a real X11 desktop: the first copy after start is recorded with the application in
# front, ignored applications and concealed content are not, and an owner that never answers
# neither freezes the program nor stops the next copy from being recorded.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/capture-lib.sh"

mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME/Stashwell"
cat >"$XDG_DATA_HOME/applications/org.example.Notes.desktop" <<'ENTRY'
[Desktop Entry]
Type=Application
Name=Notes
Exec=notes
StartupWMClass=NotesWindow
ENTRY
echo '{"stashwell.ignoredBundleIDs": ["org.example.Secret"]}' >"$XDG_CONFIG_HOME/Stashwell/defaults.json"

start_desktop
copy_text "present at start"
sleep 0.3
start_stashwell

# The first copy after start, made while Notes is in front.
notes=$(show_window --wm-class notes,NotesWindow)
activate "$notes"
copy_text "first copy"
expect_newest text="first copy" kind=text sourceBundleID=org.example.Notes sourceAppName=Notes \
    || fail "first copy: $(cat "$HISTORY_FILE")"
[[ $(history count) == 1 ]] || fail "content present at start was captured: $(cat "$HISTORY_FILE")"
note "first copy recorded with its source, content present at start not"

# A copy made while an ignored application is in front.
secret=$(show_window --wm-class secret,Secret --gtk-app-id org.example.Secret)
activate "$secret"
copy_text "typed in the ignored app"
sleep 0.5
activate "$notes"
expect_skipped "typed in the ignored app"
# An ignored application that takes the clipboard while another one is in front.
own --target "UTF8_STRING=owned by the ignored app" --gtk-app-id org.example.Secret
expect_skipped "owned by the ignored app"
note "ignored applications skipped, in front or as the clipboard's owner"

# Concealed content, whatever else it offers.
own --target "UTF8_STRING=hunter2" --target "x-kde-passwordManagerHint=secret"
expect_skipped "hunter2"
own --target "UTF8_STRING=correct horse" --target "org.nspasteboard.ConcealedType="
expect_skipped "correct horse"
note "concealed content skipped"

# An owner that never answers: the program keeps answering the window manager's pings while the
# capture waits for it, and a copy made meanwhile is recorded once the wait is over.
window=$(xdotool search --pid "$STASHWELL_PID" | head -n1)
[[ -n $window ]] || fail "no window of stashwell to ping"
own --silent --target "UTF8_STRING=never sent"
"$STASHWELL_HELPERS/wmping" "$window" 600 10 >"$TEST_ROOT/ping" || fail "stashwell did not answer pings"
copy_text "copied while the owner was silent"
expect_newest text="copied while the owner was silent" || fail "copy after a silent owner: $(cat "$HISTORY_FILE")"
history has-text "never sent" && fail "a silent owner's content was recorded"
slowest=$(awk '{print $6}' "$TEST_ROOT/ping")
note "silent owner: slowest ping answer ${slowest} ms"
awk -v s="$slowest" 'BEGIN { exit !(s < 500) }' || fail "the main thread stalled ${slowest} ms behind a silent owner"

stop_stashwell
