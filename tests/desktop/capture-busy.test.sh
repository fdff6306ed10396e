# Capture while the reader is busy with a large picture, with real programs: a password copied in
# an ignored program shortly after a text copied in an ordinary one is never recorded (neither under
# the ordinary program's name nor at all), and the copies lost that way are logged. HTML whose tags
# nest deeply in the importer's eyes ("< div>" with a space) is read quickly, and a copy made right
# after it is recorded.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/capture-lib.sh"

FIELD="$STASHWELL_HELPERS/text_field"
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME/Stashwell"
for app in Notes Vault; do
    cat >"$XDG_DATA_HOME/applications/org.example.$app.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=$app
Exec=$app
StartupWMClass=$app
ENTRY
done
echo '{"stashwell.ignoredBundleIDs": ["org.example.Vault"]}' >"$XDG_CONFIG_HOME/Stashwell/defaults.json"

# A 3840 x 2160 picture: quick to hand over, a second or two to decode, encode again and reduce.
convert -size 3840x2160 -depth 8 gradient:navy-gold "$TEST_ROOT/big.png"

start_desktop
start_stashwell

# Starts a text field of application $1 holding the text $2; prints its window.
field_with() {
    local log="$TEST_ROOT/field.$1.log"
    spawn "$FIELD" --class "$1" >"$log" 2>&1
    wait_for 10 grep -q '^window' "$log" || fail "the $1 field did not start: $(cat "$log")"
    local window
    window=$(awk '/^window/ {print $2; exit}' "$log")
    activate "$window"
    xdotool type --delay 10 "$2"
    wait_for 10 grep -qx "text $2" "$log" || fail "typing into $1: $(tail -n 1 "$log")"
    echo "$window"
}

notes=$(field_with Notes "an ordinary text")
vault=$(field_with Vault "hunter2 in the vault")

tries=3
for try in $(seq 1 $tries); do
    lines_before=$(wc -l <"$STASHWELL_LOG")
    before=$(history count 2>/dev/null || echo 0)
    activate "$notes"
    # The copies follow the picture as soon as it is handed over, while it is being decoded.
    own --target "image/png=@$TEST_ROOT/big.png" --report
    wait_for 5 grep -q '^sent image/png' "$TEST_ROOT/owner.$CAPTURE_COPIES" || fail "try $try: the picture was not read"
    xdotool key ctrl+a ctrl+c
    sleep 0.1
    xdotool windowactivate --sync "$vault" sleep 0.1 key ctrl+a ctrl+c
    wait_for 10 sh -c "grep -q hunter2 '$HISTORY_FILE' || '$PYTHON' '$(dirname "$0")/capture-history.py' \
        '$HISTORY_FILE' newest kind=image" || fail "try $try: nothing recorded: $(cat "$HISTORY_FILE")"
    sleep 1
    history has-text "hunter2 in the vault" &&
        fail "try $try: the ignored program's password was recorded: $(cat "$HISTORY_FILE")"
    history newest kind=image || fail "try $try: the picture is not the newest entry: $(cat "$HISTORY_FILE")"
    tail -n +"$((lines_before + 1))" "$STASHWELL_LOG" | grep -q "a copy was not recorded" ||
        fail "try $try: no log line for the copy lost behind the picture: $(tail -n 5 "$STASHWELL_LOG")"
    [[ $(history count) -le $((before + 2)) ]] || fail "try $try: more entries than copies: $(cat "$HISTORY_FILE")"
    NEWEST_ID=$(history id 0)
    activate "$notes"
    expect_skipped "hunter2 in the vault"
done
note "a password copied in an ignored program behind a busy reader was never recorded ($tries of $tries)"

# HTML nested 40,000 deep for the importer, with a space after each "<", then an ordinary copy.
"$PYTHON" -c 'import sys; sys.stdout.write("< div>x" * 40000)' >"$TEST_ROOT/nested.html"
activate "$notes"
copy_file text/html "$TEST_ROOT/nested.html"
sleep 0.5
copy_text "copied after the nested HTML"
expect_newest text="copied after the nested HTML" kind=text ||
    fail "the copy after the nested HTML was not recorded: $(tail -n 3 "$STASHWELL_LOG")"
note "HTML nested with spaces after \"<\" was read quickly, and the next copy recorded"

stop_stashwell
