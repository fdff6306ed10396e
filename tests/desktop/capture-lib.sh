# Copying as other applications do and checking what the history made of it, for the capture
# tests. Source after lib.sh.

CAPTURE_COPIES=0
NEWEST_ID="" # the newest entry when last checked

history() {
    "$PYTHON" "$(dirname "${BASH_SOURCE[0]}")/capture-history.py" "$HISTORY_FILE" "$@"
}

# Copies text the way most programs do (xclip offers it as UTF8_STRING and the other text targets).
copy_text() {
    CAPTURE_COPIES=$((CAPTURE_COPIES + 1))
    local file="$TEST_ROOT/copy.$CAPTURE_COPIES"
    printf '%s' "$1" >"$file"
    spawn xclip -quiet -selection clipboard -i "$file" >/dev/null 2>&1
    sleep 0.1
}

# Copies a file's bytes under one target.
copy_file() {
    spawn xclip -quiet -selection clipboard -t "$1" -i "$2" >/dev/null 2>&1
    sleep 0.1
}

# Copies one content of a kind copy_burst knows (text, image, pdf, rtf...) labelled with a word, and
# waits until the reader has it.
copy_kind() {
    "$STASHWELL_HELPERS/copy_burst" --count 1 --handshake --kinds "$1" --prefix "$2" >"$TEST_ROOT/burst.$2"
    grep -q '^done 1 1' "$TEST_ROOT/burst.$2" || fail "the $1 copy \"$2\" was not read: $(cat "$TEST_ROOT/burst.$2")"
}

# Takes the clipboard with the clipowner helper (several targets, misbehaviour); waits until it owns.
own() {
    CAPTURE_COPIES=$((CAPTURE_COPIES + 1))
    local out="$TEST_ROOT/owner.$CAPTURE_COPIES"
    spawn "$STASHWELL_HELPERS/clipowner" "$@" >"$out"
    wait_for 5 grep -q '^owned' "$out" || fail "clipowner did not take the clipboard: $*"
}

# Shows a window standing for an application and prints its id.
show_window() {
    CAPTURE_COPIES=$((CAPTURE_COPIES + 1))
    local out="$TEST_ROOT/window.$CAPTURE_COPIES"
    spawn "$STASHWELL_HELPERS/clipowner" --window --no-own "$@" >"$out"
    wait_for 5 grep -q '^window' "$out" || fail "clipowner showed no window: $*"
    awk '/^window/ {print $2}' "$out"
}

# Activates a window and waits until the window manager says so on the root window.
activate() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || fail "could not activate window $1"
    local hex
    hex=$(printf '0x%x' "$1")
    wait_for 5 sh -c "xprop -root _NET_ACTIVE_WINDOW | grep -q '# $hex\$'" || fail "window $1 did not become active"
}

# Waits until the newest entry matches every check of capture-history.py.
expect_newest() {
    wait_for 5 history newest "$@" || return 1
    NEWEST_ID=$(history id 0)
}

# The change before was skipped: a copy made after it is recorded right after the entry that was
# newest before, and the skipped text is nowhere.
expect_skipped() {
    local before=$NEWEST_ID
    local sentinel="sentinel $CAPTURE_COPIES"
    copy_text "$sentinel"
    expect_newest text="$sentinel" || fail "sentinel after \"$1\" not recorded: $(cat "$HISTORY_FILE")"
    [[ $(history id 1) == "$before" ]] || fail "\"$1\" was recorded: $(cat "$HISTORY_FILE")"
    if history has-text "$1"; then
        fail "\"$1\" was recorded"
    fi
}
