# Killed (SIGKILL) at a random moment of a burst of 500 copies, twenty times over: the history file
# left behind always parses, holds every entry added long enough before the kill, and keeps what
# the run before saved; temporary files of a write cut short are gone after the next start.
#
# "Long enough" is the longest a change can wait for its save (ClipboardStore::maxSaveWaitMs, two
# save delays, 0.8 s) plus a margin of 0.3 s for the hand-over from the capture worker to the main
# thread and the save itself (encoding, write, fsync). A copy counts as added when the reader has
# finished with it: copy_burst logs the moment the reader's requestor window goes away.
#
# RELIABILITY_KILL_RUNS (20) and RELIABILITY_SEED (random, printed) repeat a run.
source "$(dirname "$0")/lib.sh"

RUNS=${RELIABILITY_KILL_RUNS:-20}
COPIES=500
SPACING_MS=6 # 500 copies over about 3.5 s: many save delays long, never a pause of one
WAIT_S=0.8
MARGIN_S=0.3
SEED=${RELIABILITY_SEED:-$((RANDOM * 32768 + RANDOM))}
RANDOM=$SEED
note "seed $SEED"

mkdir -p "$XDG_CONFIG_HOME/Stashwell"
echo '{"stashwell.maxHistoryItems": 1000}' >"$XDG_CONFIG_HOME/Stashwell/defaults.json"
start_desktop

# check.py HISTORY BURST_LOG KILLED_AT PREVIOUS_HISTORY BOUND: the checks of one run; prints
# "copies read, entries of this run, oldest entry missing (seconds before the kill or -)".
cat >"$TEST_ROOT/check.py" <<'PY'
import json, sys

history, burst_log, killed_at, previous, bound = sys.argv[1:6]
killed_at = float(killed_at)
bound = float(bound)
try:
    with open(history, encoding="utf-8") as f:
        entries = json.load(f)
except FileNotFoundError:
    entries = []  # not written yet: the checks below say whether it should have been
except (OSError, ValueError) as error:
    sys.exit(f"history file does not parse: {error}")
if not isinstance(entries, list) or not all(isinstance(e, dict) and "id" in e for e in entries):
    sys.exit("history file is not a list of entries")
try:
    with open(previous, encoding="utf-8") as f:
        before = json.load(f)
except OSError:
    before = []

read = {}  # text -> (copy number, seconds before the kill)
for line in open(burst_log, encoding="utf-8"):
    parts = line.split(" ", 6)
    if parts[0] == "copy" and parts[5] != "-":
        read[parts[6].rstrip("\n")] = (int(parts[1]), killed_at - int(parts[5]) / 1e9)

texts = [e.get("text") for e in entries]
ours = [read[t][0] for t in texts if t in read]
if ours != sorted(ours, reverse=True):
    sys.exit(f"entries of this run out of order: {ours[:20]}...")
# This run's entries lead; what follows is the previous file, cut short only by the cap.
rest = [e["id"] for e in entries if e.get("text") not in read]
if rest != [e["id"] for e in before][: len(rest)]:
    sys.exit("entries saved before this run were lost or reordered")
if len(rest) < min(len(before), 1000 - len(ours)):
    sys.exit(f"only {len(rest)} of {len(before)} earlier entries kept beside {len(ours)} new ones")

present = set(texts)
missing = [(age, n) for text, (n, age) in read.items() if text not in present and age > 0]
late = [(age, n) for age, n in missing if age > bound]
if late:
    age, n = max(late)
    sys.exit(f"{len(late)} entries added more than {bound} s before the kill are missing, "
             f"the oldest copy {n}, {age:.3f} s before")
oldest = max(missing)[0] if missing else None
print(len(read), len(ours), f"{oldest:.3f}" if oldest is not None else "-")
PY

BOUND=$(awk -v w="$WAIT_S" -v m="$MARGIN_S" 'BEGIN { print w + m }')
BURST_S=$(awk -v n="$COPIES" -v s="$SPACING_MS" 'BEGIN { print n * s / 1000 }')
worst_lag=0
natural_leftovers=0
kills_after_bound=0
echo "[]" >"$TEST_ROOT/previous.json"

for run in $(seq 1 "$RUNS"); do
    # A write cut short leaves history.json.XXXXXX; one is planted too, to be sure a start sweeps it.
    planted="$HISTORY_DIR/history.json.Pl4nt$((run % 10))"
    mkdir -p "$HISTORY_DIR"
    printf '[{"half' >"$planted"
    leftovers=$(find "$HISTORY_DIR" -maxdepth 1 -name 'history.json.??????' | wc -l)

    start_stashwell
    spawn "$STASHWELL_HELPERS/copy_burst" --count "$COPIES" --handshake --interval-ms "$SPACING_MS" \
        --prefix "run$run" >"$TEST_ROOT/burst.$run"
    burst_pid=$LAST_PID
    # Anywhere in the burst, from its first copies to its last.
    delay_ms=$((50 + RANDOM % (${BURST_S%.*} * 1000 + 500)))
    sleep "$(awk -v d="$delay_ms" 'BEGIN { print d / 1000 }')"
    killed_at=$EPOCHREALTIME
    kill -9 "$STASHWELL_PID"
    wait "$STASHWELL_PID" 2>/dev/null || true
    kill "$burst_pid" 2>/dev/null || true
    wait "$burst_pid" 2>/dev/null || true

    grep -q '^copy [0-9]* [a-z]* [0-9]* [0-9]* [0-9]' "$TEST_ROOT/burst.$run" || fail "run $run: no copy was read"
    # The store came into being with the first copy and swept the temporary files then.
    now_left=$(find "$HISTORY_DIR" -maxdepth 1 -name 'history.json.??????' | wc -l)
    [[ -e $planted ]] && fail "run $run: a planted temporary file survived the start"
    natural_leftovers=$((natural_leftovers + now_left))
    ls "$HISTORY_DIR" | grep -q unreadable && fail "run $run: the program could not read the history it left: $(ls "$HISTORY_DIR")"

    result=$("$PYTHON" "$TEST_ROOT/check.py" "$HISTORY_FILE" "$TEST_ROOT/burst.$run" "${killed_at/,/.}" \
        "$TEST_ROOT/previous.json" "$BOUND" 2>&1) || fail "run $run (kill ${delay_ms} ms into the burst): $result"
    read -r read_count saved lag <<<"$result"
    note "run $run: killed ${delay_ms} ms in, $read_count copies read, $saved saved, oldest unsaved ${lag} s before the kill, $leftovers temporary files before the start"
    if [[ $lag != - ]] && awk -v l="$lag" -v w="$worst_lag" 'BEGIN { exit !(l > w) }'; then
        worst_lag=$lag
    fi
    if awk -v d="$delay_ms" -v b="$BOUND" 'BEGIN { exit !(d / 1000 > b + 0.1) }'; then
        kills_after_bound=$((kills_after_bound + 1))
    fi
    [[ -f $HISTORY_FILE ]] && cp "$HISTORY_FILE" "$TEST_ROOT/previous.json"
done

# The last file left behind loads, and the temporary files are swept at the next start.
start_stashwell
"$STASHWELL_HELPERS/copy_burst" --count 1 --handshake --prefix last >"$TEST_ROOT/burst.last"
grep -q ' - ' "$TEST_ROOT/burst.last" && fail "the copy after the last start was not read"
stop_stashwell
[[ $(find "$HISTORY_DIR" -maxdepth 1 -name 'history.json.*' | wc -l) -eq 0 ]] || fail "temporary files left: $(ls "$HISTORY_DIR")"
ls "$HISTORY_DIR" | grep -q unreadable && fail "the last history file could not be read"
"$PYTHON" -c 'import json, sys; e = json.load(open(sys.argv[1])); assert e[0]["text"] == "last text 0", e[0]' \
    "$HISTORY_FILE" || fail "the copy after the last start was not saved on quit"

note "$RUNS kills, $kills_after_bound of them more than ${BOUND} s into the burst: every file parsed and held every entry added ${BOUND} s before"
note "worst lag: the oldest entry missing was added ${worst_lag} s before its kill (bound ${BOUND} s)"
note "temporary files left by cut writes: $natural_leftovers, all swept at the next start"
