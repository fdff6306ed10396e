# Placing an entry serves exactly its one representation to other programs, byte for byte, until
# another program copies; large entries go out by INCR while the program keeps answering; the paste
# keystroke reaches the front window, waits for held modifiers, and reactivates a remembered window,
# but never goes into another one. Requests naming the popup's window, or asking for 3,000 pairs,
# leave the popup answering keys.
source "$(dirname "$0")/lib.sh"

DRIVER="$STASHWELL_HELPERS/platform_driver"
FIELD="$STASHWELL_HELPERS/text_field"
WITH_TRAY=0 WITH_COMPOSITOR=0 start_desktop

DATA="$TEST_ROOT/data"
mkdir -p "$DATA"
printf 'h\xc3\xa9llo w\xc3\xb6rld \xe2\x9c\x93' >"$DATA/text.txt"
printf 'h\xe9llo w\xf6rld ?' >"$DATA/text.latin1"
printf '{\\rtf1\\ansi {\\b Styled} text}' >"$DATA/doc.rtf"
printf 'rtfd\0\0\0\0\3\0\0\0\1\0\0\0' >"$DATA/doc.rtfd"
printf '<p><b>Styled</b> text</p>' >"$DATA/page.html"
printf 'Styled text' >"$DATA/styled.txt"
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR-not-really' >"$DATA/image.png"
printf '%%PDF-1.4\n%%\xe2\xe3\xcf\xd3\n' >"$DATA/doc.pdf"
printf 'page text' >"$DATA/pdf.txt"
printf '\x33\x33\x66\x66\x99\x99\xff\xff' >"$DATA/color.bin"
mkdir -p "$DATA/a folder"
touch "$DATA/a folder/one file.txt" "$DATA/two.txt"
printf 'file://%s\r\nfile://%s\r\n' "$DATA/a%20folder/one%20file.txt" "$DATA/two.txt" >"$DATA/uri-list"
printf 'copy\nfile://%s\nfile://%s' "$DATA/a%20folder/one%20file.txt" "$DATA/two.txt" >"$DATA/gnome-copied"
head -c 100000000 /dev/urandom >"$DATA/large.png"

python3 - "$DATA" <<'PY'
import json, sys, uuid
data = sys.argv[1]
def item(kind, **fields):
    return dict(id=str(uuid.uuid4()).upper(), kind=kind, createdAt="2024-05-01T10:00:00Z", isPinned=False, **fields)
text = open(f"{data}/text.txt", encoding="utf-8").read()
items = [
    item("text", text=text),                                                          # 0
    item("richText", text="Styled text", assetPath=f"{data}/doc.rtf"),                # 1
    item("richText", text="Styled text", assetPath=f"{data}/doc.rtfd"),               # 2
    item("html", text="Styled text", assetPath=f"{data}/page.html"),                  # 3
    item("image", text="Image", imagePath=f"{data}/image.png"),                       # 4
    item("pdf", text="page text", assetPath=f"{data}/doc.pdf"),                       # 5
    item("color", text="#336699", colorHex="#336699"),                                # 6
    item("file", text="one file.txt",
         filePaths=[f"{data}/a folder/one file.txt", f"{data}/two.txt"]),             # 7
    item("html", text="Styled text", assetPath=f"{data}/deleted.html"),              # 8
    item("image", text="Image", imagePath=f"{data}/deleted.png"),                     # 9
    item("link", text="https://example.org/a?b=c"),                                  # 10
    item("image", text="Image", imagePath=f"{data}/large.png"),                       # 11
]
json.dump(items, open(f"{data}/items.json", "w"))
PY
printf 'https://example.org/a?b=c' >"$DATA/link.txt"

# One driver serves every entry in turn; commands go to it through a pipe.
DRIVER_LOG="$TEST_ROOT/driver.log"
mkfifo "$TEST_ROOT/commands"
# Opened for reading and writing, so that neither end waits for the other to open.
exec 3<>"$TEST_ROOT/commands"
# (Not through spawn: a background command only keeps a redirected standard input when the
# redirection is its own.)
"$DRIVER" commands "$DATA/items.json" <"$TEST_ROOT/commands" >"$DRIVER_LOG" 2>&1 &
TEST_PIDS+=($!)
wait_for 10 grep -q '^ready$' "$DRIVER_LOG" || fail "the driver did not start: $(cat "$DRIVER_LOG")"

count() { grep -c "$1" "$DRIVER_LOG" || true; }
# True once the driver has printed more lines matching $1 than $2.
more_than() { [[ $(count "$1") -gt $2 ]]; }

# Places entry $1 (with "plain" as $2: plain text only) and waits until the driver has done so.
place() {
    local before changes
    before=$(count '^placed')
    changes=$(count '^change')
    echo "place $*" >&3
    wait_for 10 more_than '^placed' "$before" || fail "entry $* was not placed: $(cat "$DRIVER_LOG")"
    grep '^placed' "$DRIVER_LOG" | tail -n 1 | grep -qx "placed $1, suppressed 1" \
        || fail "placing $*: $(tail -n 3 "$DRIVER_LOG")"
    # The owner changes a moment later, when the serving thread takes the selection.
    wait_for 5 more_than '^change' "$changes" || fail "placing $* did not change the clipboard"
}

# Asks the driver to post the paste keystroke (into window $1, activated first; else the active one).
ask_paste() {
    PASTES=$(count '^paste ')
    echo "paste $*" >&3
}

# The paste asked for last ends with outcome $1: posted, window-not-active or unavailable.
expect_paste() {
    wait_for 10 more_than '^paste ' "$PASTES" || fail "the paste never ended: $(tail -n 3 "$DRIVER_LOG")"
    [[ $(grep '^paste ' "$DRIVER_LOG" | tail -n 1) == "paste $1" ]] || fail "paste: $(tail -n 3 "$DRIVER_LOG")"
}

paste_keys() {
    ask_paste "$@"
    expect_paste posted
}

# The clipboard offers exactly these targets, besides TARGETS, TIMESTAMP and MULTIPLE.
expect_targets() {
    local got want
    got=$(timeout 5 xclip -o -selection clipboard -t TARGETS | sort | tr '\n' ' ')
    want=$(printf '%s\n' TARGETS TIMESTAMP MULTIPLE "$@" | sort | tr '\n' ' ')
    [[ "$got" == "$want" ]] || fail "targets: '$got', expected '$want'"
}

# The clipboard serves target $1 with exactly the bytes of file $2.
expect_bytes() {
    timeout 20 xclip -o -selection clipboard -t "$1" >"$TEST_ROOT/read" || fail "reading $1 failed"
    cmp -s "$TEST_ROOT/read" "$2" || fail "$1 differs from $2: $(head -c 200 "$TEST_ROOT/read" | od -c | head -5)"
}

TEXT_TARGETS=(UTF8_STRING "text/plain;charset=utf-8" text/plain STRING)
expect_text() {
    expect_targets "${TEXT_TARGETS[@]}"
    expect_bytes UTF8_STRING "$1"
    expect_bytes "text/plain;charset=utf-8" "$1"
    expect_bytes text/plain "$1"
}

place 0
expect_text "$DATA/text.txt"
expect_bytes STRING "$DATA/text.latin1"
[[ $(timeout 5 "$STASHWELL_HELPERS/read_multiple" UTF8_STRING image/png STRING | tr '\n' ' ') == \
    "UTF8_STRING 17 image/png refused STRING 13 " ]] || fail "MULTIPLE request answered wrongly"
note "text: four text targets, STRING in Latin-1, also through MULTIPLE"

place 0 plain
expect_text "$DATA/text.txt"
place 10
expect_text "$DATA/link.txt"
note "plain-only text and links: the same text"

place 1
expect_targets text/rtf
expect_bytes text/rtf "$DATA/doc.rtf"
place 1 plain
expect_text "$DATA/styled.txt"
place 2
expect_targets application/x-rtfd com.apple.flat-rtfd
expect_bytes application/x-rtfd "$DATA/doc.rtfd"
expect_bytes com.apple.flat-rtfd "$DATA/doc.rtfd"
note "rich text: RTF or RTFD alone, its text with plain only"

place 3
expect_targets text/html
expect_bytes text/html "$DATA/page.html"
place 3 plain
expect_text "$DATA/styled.txt"
place 8
expect_text "$DATA/styled.txt"
note "HTML: the document alone; its text with plain only or when the file is gone"

place 4
expect_targets image/png
expect_bytes image/png "$DATA/image.png"
place 9
expect_targets
note "images: PNG alone; nothing at all when the file is gone"

place 5 plain
expect_targets application/pdf
expect_bytes application/pdf "$DATA/doc.pdf"
note "PDF: the document, also with plain only"

place 6
expect_targets application/x-color
expect_bytes application/x-color "$DATA/color.bin"
note "colour: application/x-color, 16-bit RGBA"

place 7
expect_targets text/uri-list x-special/gnome-copied-files
expect_bytes text/uri-list "$DATA/uri-list"
expect_bytes x-special/gnome-copied-files "$DATA/gnome-copied"
note "files: URI list and GNOME's copied-files list"

# A large entry goes out in pieces; a reader that stalls halfway does not stop the program from
# answering others.
place 11
expect_targets image/png
timeout 30 xclip -o -selection clipboard -t image/png | (sleep 2; cat >"$TEST_ROOT/stalled") &
STALLED_READER=$!
sleep 0.5
expect_targets image/png
expect_bytes image/png "$DATA/large.png"
wait "$STALLED_READER" || fail "the stalled reader failed"
cmp -s "$TEST_ROOT/stalled" "$DATA/large.png" || fail "the stalled reader got $(stat -c %s "$TEST_ROOT/stalled") bytes"
note "100 MB served by INCR, twice at once, while answering TARGETS"

# Each place is one change; another program's copy ends our ownership and we do not take it back.
place 0
changes=$(count '^change')
place 0
sleep 0.3
[[ $(count '^change') -eq $((changes + 1)) ]] || fail "one place made more than one change"
printf 'copied elsewhere' | xclip -selection clipboard
wait_for 5 more_than '^change' $((changes + 1)) || fail "the driver did not see the other program's copy"
[[ $(timeout 5 xclip -o -selection clipboard) == "copied elsewhere" ]] || fail "the other program's copy was lost"
note "one change per place; another program's copy takes over"

# --- The paste keystroke ---------------------------------------------------------------------------
is_active() {
    xprop -root _NET_ACTIVE_WINDOW | grep -qi "# $(printf '0x%x' "$1")$"
}
activate_window() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1
    wait_for 5 is_active "$1" || fail "window $1 did not become active"
}
place 0
spawn "$FIELD" >"$TEST_ROOT/field.log" 2>&1
wait_for 10 grep -q '^window' "$TEST_ROOT/field.log" || fail "the text field did not start"
FIELD_WINDOW=$(awk '/^window/ {print $2; exit}' "$TEST_ROOT/field.log")
wait_for 10 is_active "$FIELD_WINDOW" || fail "the text field did not become active"
EXPECTED_TEXT="text $(cat "$DATA/text.txt")"

paste_keys
wait_for 5 grep -qxF "$EXPECTED_TEXT" "$TEST_ROOT/field.log" || fail "the field did not receive the text"
grep -qx 'key Ctrl+V' "$TEST_ROOT/field.log" || fail "the field did not see Control+V"
note "Control+V pastes the placed text"

# A pick made with Alt held: the paste waits until Alt is released.
xdotool key ctrl+a BackSpace
wait_for 5 grep -qx 'text ' "$TEST_ROOT/field.log" || fail "the field was not emptied"
: >"$TEST_ROOT/field.log"
xdotool keydown alt
ask_paste
sleep 0.3
grep -q '^text' "$TEST_ROOT/field.log" && fail "the paste went out while Alt was still held"
xdotool keyup alt
expect_paste posted
wait_for 5 grep -qxF "$EXPECTED_TEXT" "$TEST_ROOT/field.log" || fail "no paste after Alt was released"
grep -q 'Alt' "$TEST_ROOT/field.log" && fail "the paste carried Alt: $(cat "$TEST_ROOT/field.log")"
note "with Alt held, the paste follows its release"

# A terminal gets Control+Shift+V.
spawn "$FIELD" xterm >"$TEST_ROOT/terminal.log" 2>&1
wait_for 10 grep -q '^window' "$TEST_ROOT/terminal.log" || fail "the terminal stand-in did not start"
TERMINAL_WINDOW=$(awk '/^window/ {print $2; exit}' "$TEST_ROOT/terminal.log")
wait_for 10 is_active "$TERMINAL_WINDOW" || fail "the terminal stand-in did not become active"
paste_keys
wait_for 5 grep -qx 'key Ctrl+Shift+V' "$TEST_ROOT/terminal.log" || fail "the terminal did not see Control+Shift+V"
note "terminals get Control+Shift+V"

# The remembered window is activated first; the paste goes there.
: >"$TEST_ROOT/field.log"
paste_keys "$FIELD_WINDOW"
grep -q '^active true$' "$DRIVER_LOG" || fail "the remembered window was not activated: $(tail -n 3 "$DRIVER_LOG")"
wait_for 5 grep -qxF "$EXPECTED_TEXT$(cat "$DATA/text.txt")" "$TEST_ROOT/field.log" \
    || fail "the remembered window did not receive the paste: $(cat "$TEST_ROOT/field.log")"
note "the remembered window comes back and receives the paste"

# A paste waiting for Alt goes out only if its window is still the active one when Alt is let go.
: >"$TEST_ROOT/field.log"
: >"$TEST_ROOT/terminal.log"
xdotool keydown alt
actives=$(count '^active true$')
ask_paste "$FIELD_WINDOW"
wait_for 5 more_than '^active true$' "$actives" || fail "the remembered window was not activated"
activate_window "$TERMINAL_WINDOW"
xdotool keyup alt
expect_paste window-not-active
sleep 0.3
grep -aE '^(text|key)' "$TEST_ROOT/terminal.log" && fail "the paste went into the window activated meanwhile"
grep -aE '^(text|key)' "$TEST_ROOT/field.log" && fail "the paste went into a window that was not active"
note "a paste whose window lost the front while Alt was held is dropped"
exec 3>&-

# --- The program ----------------------------------------------------------------------------------
# A pick pastes only into the window the popup was opened over; serving the clipboard never leaves
# the popup deaf, and a huge MULTIPLE request is bounded.
source "$(dirname "$0")/popup-lib.sh"
mkdir -p "$HISTORY_DIR"
chmod 700 "$HISTORY_DIR"
"$PYTHON" - "$HISTORY_FILE" <<'PY'
import json, sys, uuid
# A small text; 1.2 MB of UTF-8 (served by INCR); 1,000,000 bytes (one property each).
texts = ["the secret pick", "\u00e9" * 600000, "x" * 1000000]
json.dump([dict(id=str(uuid.uuid4()).upper(), kind="text", createdAt="2024-05-01T10:00:00Z", isPinned=False,
                text=text) for text in texts], open(sys.argv[1], "w"))
PY
start_stashwell

# Starts a text field of class $1 and waits until it is active; sets FIELD_PID and FIELD_WINDOW.
start_field() {
    spawn "$FIELD" --class "$1" >"$TEST_ROOT/$1.log" 2>&1
    FIELD_PID=$LAST_PID
    wait_for 10 grep -q '^window' "$TEST_ROOT/$1.log" || fail "the $1 field did not start"
    FIELD_WINDOW=$(awk '/^window/ {print $2; exit}' "$TEST_ROOT/$1.log")
    wait_for 10 is_active "$FIELD_WINDOW" || fail "the $1 field did not become active"
}
close_field() {
    kill "$1"
    wait_for 5 sh -c "! xwininfo -id $2" || fail "window $2 did not close"
}

start_field Chat
CHAT_PID=$FIELD_PID CHAT_WINDOW=$FIELD_WINDOW
start_field Notes
open_popup_by_shortcut
close_field "$FIELD_PID" "$FIELD_WINDOW"
xdotool key Return
wait_popup_closed "Return"
wait_for 5 is_active "$CHAT_WINDOW" || fail "the chat field did not become active after the pick"
wait_for 5 grep -q '^Stashwell: .*not pasted' "$STASHWELL_LOG" || true # the paste's wait is over either way
sleep 0.5
grep -aE '^(text|key)' "$TEST_ROOT/Chat.log" && fail "the pick was pasted into the chat field"
grep -q '^Stashwell: .*not pasted' "$STASHWELL_LOG" || fail "no log line says why nothing was pasted"
[[ $(timeout 5 xclip -o -selection clipboard) == "the secret pick" ]] || fail "the pick is not on the clipboard"
note "the window gone: nothing pasted into the chat field, the pick on the clipboard: $(grep '^Stashwell: .*not pasted' "$STASHWELL_LOG")"
close_field "$CHAT_PID" "$CHAT_WINDOW"

# With no window in front, picks go to the clipboard alone. A transfer by INCR whose requestor is
# the popup's own window must not change what the popup listens to.
open_popup_by_shortcut
xdotool key ctrl+2
wait_popup_closed "Control+2"
wait_for 5 sh -c '[ "$(timeout 5 xclip -o -selection clipboard | wc -c)" = 1200000 ]' || fail "the 1.2 MB pick is not served"
open_popup_by_shortcut
[[ $(timeout 10 "$STASHWELL_HELPERS/read_multiple" --requestor "$(popup_panel)" UTF8_STRING) == answered ]] \
    || fail "a request in the name of the popup's window was not answered"
xdotool key Escape
wait_popup_closed "Escape after a selection request naming the popup's window"
note "a selection request naming the popup's window leaves the popup answering keys"

# A MULTIPLE request of 3,000 pairs of 1 MB: bounded work, answered at once, the popup answering.
open_popup_by_shortcut
xdotool key ctrl+3
wait_popup_closed "Control+3"
wait_for 5 sh -c '[ "$(timeout 5 xclip -o -selection clipboard | wc -c)" = 1000000 ]' || fail "the 1 MB pick is not served"
open_popup_by_shortcut
"$STASHWELL_HELPERS/wmping" "$(popup_panel)" 3000 10 >"$TEST_ROOT/ping" &
pinger=$!
sleep 0.2
multiple=$(timeout 60 "$STASHWELL_HELPERS/read_multiple" --repeat 3000 UTF8_STRING) || fail "MULTIPLE: $multiple"
wait "$pinger" || fail "the popup did not answer pings during the MULTIPLE request"
slowest=$(awk '{print $6}' "$TEST_ROOT/ping")
note "MULTIPLE of 3,000 pairs of 1 MB: $multiple; the popup's slowest ping answer meanwhile ${slowest} ms"
served=$(awk '{print $4}' <<<"$multiple")
((served >= 1 && served <= 100)) || fail "a MULTIPLE request of 3,000 pairs served $served of them"
awk -v s="$slowest" 'BEGIN { exit !(s < 500) }' || fail "the popup stalled ${slowest} ms during the MULTIPLE request"
xdotool key Escape
wait_popup_closed "Escape after the MULTIPLE request"
stop_stashwell
