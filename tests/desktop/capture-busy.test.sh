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

# 3840 x 2160 pictures, one for each try: quick to hand over, a second or two to decode, encode
# again and reduce.
for colour in gold red green white orange; do
    convert -size 3840x2160 -depth 8 "gradient:navy-$colour" "$TEST_ROOT/big-$colour.png"
done

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

# Whether a try reaches the moment the test is about: the picture still being read when the password
# is copied, with the text waiting behind it. On a quick machine the picture may be done before.
tries=0
busy=0
for colour in gold red green white orange; do
    tries=$((tries + 1))
    picture="$TEST_ROOT/big-$colour.png"
    hash=$("$PYTHON" -c 'import hashlib,sys; print(hashlib.sha256(open(sys.argv[1],"rb").read()).hexdigest()[:24])' "$picture")
    lines_before=$(wc -l <"$STASHWELL_LOG")
    activate "$notes"
    # The copies follow the picture as soon as it is handed over, while it is being decoded.
    own --target "image/png=@$picture" --report
    wait_for 5 grep -q '^sent image/png' "$TEST_ROOT/owner.$CAPTURE_COPIES" || fail "try $tries: the picture was not read"
    xdotool key ctrl+a ctrl+c
    sleep 0.1
    xdotool windowactivate --sync "$vault" sleep 0.1 key ctrl+a ctrl+c
    wait_for 10 grep -q "$hash" "$HISTORY_FILE" || fail "try $tries: the picture was not recorded: $(cat "$HISTORY_FILE")"
    sleep 1
    history has-text "hunter2 in the vault" &&
        fail "try $tries: the ignored program's password was recorded: $(cat "$HISTORY_FILE")"
    if tail -n +"$((lines_before + 1))" "$STASHWELL_LOG" | grep -q "a copy was not recorded"; then
        busy=$((busy + 1))
        history newest kind=image || fail "try $tries: the text lost behind the picture was recorded: $(cat "$HISTORY_FILE")"
    fi
    NEWEST_ID=$(history id 0)
    activate "$notes"
    expect_skipped "hunter2 in the vault"
done
((busy > 0)) || fail "the picture was read too quickly: no try copied the password while it was being read"
note "a password copied in an ignored program was never recorded ($tries tries, $busy behind a busy reader)"

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
