#!/usr/bin/env bash
# The Wayland backends on a headless sway: copies from Wayland programs are seen with their types
# and bytes (a concealed one refused), with the focused foot window as their source; a pick is served
# with exactly its representations; the virtual keyboard pastes into foot; a silent owner costs one
# deadline and the next copy is seen.
source "$(dirname "$0")/sway-lib.sh"

install_programs "$STASHWELL_HELPERS/wayland_driver" "$STASHWELL_HELPERS/wayland_owner"
start_sway

DRIVER_IN="$TEST_ROOT/driver.in"
DRIVER_OUT="$TEST_ROOT/driver.out"
SHOW_ON_FAILURE+=("$DRIVER_OUT" "$TEST_ROOT/driver.err")
mkfifo "$DRIVER_IN"
chmod 666 "$DRIVER_IN"
# Held open for reading and writing, so that neither side's open waits for the other.
exec 7<>"$DRIVER_IN"
spawn_user "$BIN_DIR/wayland_driver" "$HOME/files" <"$DRIVER_IN" >"$DRIVER_OUT" 2>"$TEST_ROOT/driver.err"
wait_for 10 grep -q '"event":"ready"' "$DRIVER_OUT" || fail "the driver did not start: $(cat "$TEST_ROOT/driver.err")"
summary=$(grep '"event":"ready"' "$DRIVER_OUT")
note "$summary"
for protocol in "zwlr_data_control_manager_v1 v2" "zwlr_foreign_toplevel_manager_v1 v3" \
    "zwp_virtual_keyboard_manager_v1 v1"; do
    [[ $summary == *"$protocol"* ]] || fail "the driver does not use $protocol"
done

# The Nth change line of the driver, as JSON; waits for it.
change() {
    wait_for 5 sh -c "[ \$(grep -c '\"event\":\"change\"' '$DRIVER_OUT') -ge $1 ]" || fail "change $1 never came"
    grep '"event":"change"' "$DRIVER_OUT" | sed -n "${1}p"
}
# Reads one field of a JSON line with a Python expression over `c`.
field() {
    "$PYTHON" -c "import json,sys; c=json.loads(sys.argv[1]); print($2)" "$1"
}
changes_seen() {
    grep -c '"event":"change"' "$DRIVER_OUT" || true
}
copy() {
    # In the foreground it serves until replaced; spawned, so that it is ended with the test.
    spawn_user wl-copy --foreground "$@"
    sleep 0.3
}

TARGET="$HOME/pasted.txt"
spawn_user foot -a foot sh -c "cat > '$TARGET'" 2>"$TEST_ROOT/foot.log"
wait_for 10 focused_is foot || fail "foot did not get the focus"

copy "plain words"
c=$(change 1)
[[ $(field "$c" 'c["item"]["kind"], c["item"]["text"], c["source"]') == "text plain words foot" ]] ||
    fail "a text copy became: $c"

printf '<p>Some <b>bold</b> words</p>' >"$TEST_ROOT/page.html"
copy --type text/html <"$TEST_ROOT/page.html"
c=$(change 2)
[[ $(field "$c" '"public.html" in c["types"], c["item"]["kind"]') == "True html" ]] || fail "an HTML copy became: $c"

"$PYTHON" - "$TEST_ROOT/picture.png" <<'PY'
import struct, sys, zlib
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
rows = b"".join(b"\0" + b"".join(bytes((x * 3, y * 4, 128)) for x in range(80)) for y in range(60))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 80, 60, 8, 2, 0, 0, 0)) + \
      chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")
open(sys.argv[1], "wb").write(png)
PY
chmod 644 "$TEST_ROOT/picture.png"
copy --type image/png <"$TEST_ROOT/picture.png"
c=$(change 3)
[[ $(field "$c" 'c["item"]["kind"], c["item"]["imageWidth"], c["item"]["imageHeight"]') == "image 80 60" ]] ||
    fail "a PNG copy became: $c"
sha=$(sha256sum "$TEST_ROOT/picture.png" | cut -c1-24)
[[ $(field "$c" 'c["item"]["contentHash"]') == "$sha" ]] || fail "the PNG's bytes changed on the way"

printf 'file:///etc/hostname\r\nfile:///etc/os-release\r\n' >"$TEST_ROOT/files.txt"
copy --type text/uri-list <"$TEST_ROOT/files.txt"
c=$(change 4)
[[ $(field "$c" 'c["item"]["kind"], ",".join(c["item"]["filePaths"])') == "file /etc/hostname,/etc/os-release" ]] ||
    fail "a uri-list copy became: $c"

# A password manager's copy: the text with its concealment marker. Seen, never recorded.
printf 'hunter2' >"$TEST_ROOT/secret.txt"
printf 'secret' >"$TEST_ROOT/marker.txt"
chmod 644 "$TEST_ROOT"/*.txt
spawn_user "$BIN_DIR/wayland_owner" text/plain "$TEST_ROOT/secret.txt" \
    x-kde-passwordManagerHint "$TEST_ROOT/marker.txt" >/dev/null
c=$(change 5)
[[ $(field "$c" '"x-kde-passwordManagerHint" in c["types"], c["item"]') == "True None" ]] ||
    fail "a concealed copy became: $c"

# A pick: exactly the chosen representations, under the X11 owner's names, moving the counter once.
printf 'picked text' >"$TEST_ROOT/pick.txt"
printf '<i>picked</i>' >"$TEST_ROOT/pick.html"
chmod 644 "$TEST_ROOT"/pick.*
echo "place public.utf8-plain-text $TEST_ROOT/pick.txt public.html $TEST_ROOT/pick.html" >&7
c=$(change 6)
[[ $(field "$c" 'c["ours"], c["mimes"]') == "True ['UTF8_STRING', 'text/plain;charset=utf-8', 'text/plain', 'STRING', 'text/html']" ]] ||
    fail "our own pick was seen as: $c"
types=$(as_user wl-paste --list-types | tr '\n' ' ')
[[ $types == "UTF8_STRING text/plain;charset=utf-8 text/plain STRING text/html " ]] || fail "wl-paste lists: $types"
[[ $(as_user wl-paste --no-newline --type text/html) == "<i>picked</i>" ]] || fail "wl-paste reads another HTML"
[[ $(as_user wl-paste --no-newline) == "picked text" ]] || fail "wl-paste reads another text"
sleep 0.3
[[ $(changes_seen) == 6 ]] || fail "our own pick moved the counter more than once"

# An entry with nothing to write still replaces the clipboard: empty, and ours.
echo "place" >&7
c=$(change 7)
[[ $(field "$c" 'c["ours"], c["mimes"]') == "True []" ]] || fail "an empty pick was seen as: $c"
[[ -z $(as_user wl-paste --list-types 2>/dev/null) ]] || fail "the clipboard still offers types after an empty pick"

# Paste-back: another window takes the focus; foot's toplevel is activated again and confirmed, then
# the virtual keyboard types the terminal's paste into it, whose cat writes it down.
echo "front" >&7
wait_for 5 grep -q '"event":"front"' "$DRIVER_OUT" || fail "no answer to front"
front=$(grep '"event":"front"' "$DRIVER_OUT" | tail -n1)
[[ $(field "$front" 'c["app"], c["name"]') == "foot Foot" ]] || fail "the application in front: $front"
spawn_user foot -a stashwell-other sleep 60 2>/dev/null
wait_for 10 focused_is stashwell-other || fail "the second window did not get the focus"
echo "refocus $(field "$front" 'c["handle"]')" >&7
wait_for 5 grep -q '"event":"active","ok":true' "$DRIVER_OUT" || fail "foot was not confirmed active again"
focused_is foot || fail "sway focuses $(focused_app), not foot"
# With its line's end: cat writes a line once the terminal has it whole.
printf 'typed by the virtual keyboard\n' >"$TEST_ROOT/line.txt"
chmod 644 "$TEST_ROOT/line.txt"
copy <"$TEST_ROOT/line.txt"
change 8 >/dev/null
echo "paste" >&7
wait_for 5 grep -q "typed by the virtual keyboard" "$TARGET" || fail "the paste did not reach foot: $(cat "$TARGET")"
screenshot wayland-platform-paste

# An owner that offers a type and never writes: that change fails within the deadline, the driver
# answers meanwhile, and the next copy is seen.
spawn_user "$BIN_DIR/wayland_owner" --silent text/plain "$TEST_ROOT/pick.txt" >/dev/null
sleep 0.2
echo "front" >&7
wait_for 1 sh -c "[ \$(grep -c '\"event\":\"front\"' '$DRIVER_OUT') -ge 2 ]" ||
    fail "the driver did not answer while a read hung"
c=$(change 9)
[[ $(field "$c" 'c["item"] is None and 900 <= c["ms"] <= 1500') == True ]] || fail "a silent owner's change: $c"
copy "after the silent one"
c=$(change 10)
[[ $(field "$c" 'c["item"]["text"]') == "after the silent one" ]] || fail "the copy after a silent owner: $c"
note "all checks passed"
