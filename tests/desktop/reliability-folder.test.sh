# The data folder reached under another path from one start to the next: a home through a symbolic
# link, XDG_DATA_HOME with a trailing slash, the folder moved elsewhere. The pictures and documents
# of the history survive every start, and the entries name them where they are now.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/capture-lib.sh"

REAL_HOME=$HOME
ln -s "$REAL_HOME" "$TEST_ROOT/home-link"

# Starts the program with the data folder spelled as given (empty: XDG_DATA_HOME unset, so the
# folder comes from HOME), makes one copy of the kind given and quits.
run_with() {
    local home=$1 data=$2 kind=$3 label=$4
    local saved_home=$HOME saved_data=$XDG_DATA_HOME
    export HOME=$home
    if [[ -n $data ]]; then export XDG_DATA_HOME=$data; else unset XDG_DATA_HOME; fi
    start_stashwell
    export HOME=$saved_home XDG_DATA_HOME=$saved_data
    copy_kind "$kind" "$label"
    wait_for 5 history newest kind="${kind/rtf/richText}" || fail "$label was not saved: $(cat "$HISTORY_FILE")"
    stop_stashwell
}

# Every picture and document the history names exists, in the folder given, and no stored file is
# left that no entry names.
files_in_place() {
    "$PYTHON" - "$HISTORY_FILE" "$1" <<'PY'
import json, os, sys
history, folder = sys.argv[1:]
entries = json.load(open(history))
named = set()
for entry in entries:
    for key in ("imagePath", "thumbnailPath", "assetPath"):
        if key in entry:
            path = entry[key]
            assert os.path.isfile(path), f"{path} is gone"
            assert os.path.dirname(os.path.dirname(path)) == folder, f"{path} is not in {folder}"
            named.add(os.path.basename(path))
on_disk = set(os.listdir(folder + "/images")) | set(os.listdir(folder + "/assets"))
assert on_disk == named, f"on disk {sorted(on_disk)}, named {sorted(named)}"
print(len(named))
PY
}

start_desktop

run_with "$REAL_HOME" "$REAL_HOME/.local/share" image first
count=$(files_in_place "$HISTORY_DIR") || fail "after the first start: $count"
note "first start: $count stored files"

# The same home through a symbolic link (XDG_DATA_HOME unset): the files stay.
run_with "$TEST_ROOT/home-link" "" pdf second
count=$(files_in_place "$TEST_ROOT/home-link/.local/share/Stashwell") || fail "home through a link: $count"
note "home through a symbolic link: $count stored files, the entries name them there"

# XDG_DATA_HOME with a trailing slash.
run_with "$REAL_HOME" "$REAL_HOME/.local/share/" rtf third
count=$(files_in_place "$HISTORY_DIR") || fail "trailing slash: $count"
note "trailing slash: $count stored files"

# The folder moved elsewhere.
mkdir -p "$TEST_ROOT/moved"
mv "$HISTORY_DIR" "$TEST_ROOT/moved/"
HISTORY_FILE="$TEST_ROOT/moved/Stashwell/history.json"
run_with "$REAL_HOME" "$TEST_ROOT/moved" text fourth
count=$(files_in_place "$TEST_ROOT/moved/Stashwell") || fail "moved folder: $count"
[[ $(history count) -eq 4 ]] || fail "entries lost: $(cat "$HISTORY_FILE")"
note "moved folder: $count stored files, all four entries"
