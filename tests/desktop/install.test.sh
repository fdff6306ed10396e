# Installing puts the program, its desktop entry, icons and AppStream metadata in their XDG places;
# the installed program's "Launch at login" writes an autostart entry that starts the installed
# program; uninstalling removes every installed file.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings-lib.sh"

BUILD_DIR=$(dirname "$STASHWELL_BIN")
PREFIX="$TEST_ROOT/prefix"
MANIFEST="$BUILD_DIR/install_manifest.txt"

# Installing writes the build's manifest; keep the developer's own one.
if [[ -f $MANIFEST ]]; then
    cp "$MANIFEST" "$TEST_ROOT/manifest.saved"
fi
restore_manifest() {
    if [[ -f $TEST_ROOT/manifest.saved ]]; then
        cp "$TEST_ROOT/manifest.saved" "$MANIFEST"
    else
        rm -f "$MANIFEST"
    fi
}
cmake --install "$BUILD_DIR" --prefix "$PREFIX" >"$TEST_ROOT/install.log" 2>&1 || { restore_manifest; fail "install failed: $(cat "$TEST_ROOT/install.log")"; }
cp "$MANIFEST" "$TEST_ROOT/manifest.txt"
restore_manifest

for file in bin/stashwell share/applications/stashwell.desktop share/icons/hicolor/scalable/apps/stashwell.svg \
    share/icons/hicolor/256x256/apps/stashwell.png share/metainfo/io.github.stashwell.Stashwell.metainfo.xml; do
    [[ -f $PREFIX/$file ]] || fail "not installed: $file"
done
[[ -x $PREFIX/bin/stashwell ]] || fail "the installed program is not executable"
[[ $(identify -format '%wx%h' "$PREFIX/share/icons/hicolor/256x256/apps/stashwell.png") == 256x256 ]] \
    || fail "the hicolor 256x256 icon is not 256 pixels square"
desktop-file-validate "$PREFIX/share/applications/stashwell.desktop" || fail "desktop entry does not validate"
appstreamcli validate --no-net "$PREFIX/share/metainfo/io.github.stashwell.Stashwell.metainfo.xml" >"$TEST_ROOT/as.log" 2>&1 \
    || fail "AppStream metadata does not validate: $(cat "$TEST_ROOT/as.log")"
grep -qx 'Exec=stashwell' "$PREFIX/share/applications/stashwell.desktop" || fail "desktop entry does not start stashwell"
grep -qx 'Icon=stashwell' "$PREFIX/share/applications/stashwell.desktop" || fail "desktop entry names another icon"
note "installed and validated"

# The installed program turns on "Launch at login" from its settings window.
STASHWELL_BIN="$PREFIX/bin/stashwell"
start_desktop
start_stashwell
wait_for 10 sh -c "xdotool search --pid $STASHWELL_PID | grep -q ." || fail "tray icon not embedded"
sleep 0.5
open_settings
window_origin "$SETTINGS_WINDOW"
sleep 0.5
# The "Launch at login" checkbox, first row of the window's content.
xdotool mousemove $((X + 31)) $((Y + 158)) click 1
AUTOSTART="$XDG_CONFIG_HOME/autostart/stashwell.desktop"
wait_for 5 test -f "$AUTOSTART" || fail "no autostart entry after turning on Launch at login"
grep -qx "Exec=\"$PREFIX/bin/stashwell\"" "$AUTOSTART" || fail "autostart entry starts: $(grep Exec= "$AUTOSTART")"
desktop-file-validate "$AUTOSTART" || fail "autostart entry does not validate"
note "autostart entry starts the installed program"
stop_stashwell

cmake -DINSTALL_MANIFEST="$TEST_ROOT/manifest.txt" -P "$(dirname "$0")/../../cmake/Uninstall.cmake" >/dev/null \
    || fail "uninstall failed"
remaining=$(find "$PREFIX" -type f)
[[ -z $remaining ]] || fail "left after uninstall: $remaining"
note "uninstalled"
