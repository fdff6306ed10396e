#!/usr/bin/env bash
# The program's own figures on a private desktop (Xvfb and openbox, no compositor): with a 1,000-entry
# history, how quickly the popup opens on the shortcut, resident memory, and CPU time while idle; then
# the same openings and memory for a peer clipboard manager (CopyQ, when installed) holding the same
# entries. bench/run runs it; figures go to RESULTS as key=value lines, details to stdout.
#
#   STASHWELL_BIN=... STASHWELL_HELPERS=... bench/desktop.sh RESULTS
#
# Needs: bench_popup (writes the history) and opentimer (times the openings) in $STASHWELL_BENCH_DIR.
# STASHWELL_BENCH_IDLE_SECONDS sets the idle period (60).
results=${1:?usage: desktop.sh RESULTS}
bench_dir=${STASHWELL_BENCH_DIR:?STASHWELL_BENCH_DIR must name the build folder of the benchmarks}
idle_seconds=${STASHWELL_BENCH_IDLE_SECONDS:-60}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/desktop/lib.sh"

OPENINGS=20
: >"$results"
record() {
    echo "$1=$2" >>"$results"
}

resident_kib() {
    awk '/^VmRSS:/ {print $2}' "/proc/$1/status"
}

# User and system CPU time of a process and all its threads, in clock ticks.
cpu_ticks() {
    awk '{print $14 + $15}' "/proc/$1/stat"
}

# Times the openings of a window of process $1; the rest are opentimer's arguments. Prints the
# figures line and records them under the prefix $PREFIX.
time_openings() {
    local pid=$1
    shift
    local figures
    figures=$("$bench_dir/opentimer" --pid "$pid" "$@") || return 1
    echo "$figures"
    local pair
    for pair in $figures; do
        record "${PREFIX}_${pair%%=*}" "${pair#*=}"
    done
}

WITH_TRAY=0 WITH_COMPOSITOR=0 start_desktop

# --- Stashwell --------------------------------------------------------------------------------------
mkdir -p "$XDG_CONFIG_HOME/Stashwell"
echo '{"stashwell.maxHistoryItems": 1000}' >"$XDG_CONFIG_HOME/Stashwell/defaults.json"
"$bench_dir/bench_popup" --write-history "$HISTORY_DIR" || fail "could not write the history"
start_stashwell
# The shortcut works once the program has grabbed it: open and close once (this also creates the panel).
wait_for 20 "$bench_dir/opentimer" --pid "$STASHWELL_PID" --key super+shift+v --close-key Escape --warmup 1 \
    --count 0 || fail "the shortcut does not open the popup"
entries=$($PYTHON -c 'import json,sys; print(len(json.load(open(sys.argv[1]))))' "$HISTORY_FILE")
record entries "$entries"
record stashwell_rss_kib "$(resident_kib "$STASHWELL_PID")"
note "stashwell: $entries entries, resident $(resident_kib "$STASHWELL_PID") KiB after opening the popup once"

note "stashwell: $OPENINGS openings on Super+Shift+V, closed with Escape"
PREFIX=stashwell time_openings "$STASHWELL_PID" --key super+shift+v --close-key Escape --warmup 1 \
    --count "$OPENINGS" || fail "timing the popup failed"

note "stashwell: idle for $idle_seconds s"
sleep 3
before=$(cpu_ticks "$STASHWELL_PID")
sleep "$idle_seconds"
after=$(cpu_ticks "$STASHWELL_PID")
record stashwell_idle_cpu_percent "$(awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$idle_seconds" \
    'BEGIN {printf "%.3f", t / hz / s * 100}')"
record stashwell_idle_seconds "$idle_seconds"
stop_stashwell

# --- the peer -------------------------------------------------------------------------------------
if ! command -v copyq >/dev/null; then
    note "copyq is not installed (scripts/deps bench installs it): no peer figures"
    exit 0
fi
copyq_home="$TEST_ROOT/copyq"
mkdir -p "$copyq_home/config" "$copyq_home/data" "$copyq_home/cache"
peer() {
    HOME=$copyq_home XDG_CONFIG_HOME=$copyq_home/config XDG_DATA_HOME=$copyq_home/data \
        XDG_CACHE_HOME=$copyq_home/cache "$@"
}
peer spawn copyq >>"$TEST_ROOT/copyq.log" 2>&1
COPYQ_PID=$LAST_PID
peer wait_for 20 copyq eval 1 || fail "copyq did not start"
record peer_version "$(peer copyq version | sed -n 's/^CopyQ Clipboard Manager v\{0,1\}\([^ ]*\).*/\1/p' | head -n1)"
# Its own history only, of the same size; the same shortcut shows and hides its window.
peer copyq disable
peer copyq config maxitems 1000 >/dev/null
peer copyq eval 'setCommands([{name: "Show/hide", cmd: "copyq: toggle()", globalShortcuts: ["meta+shift+v"],
    isGlobalShortcut: true}])'
"$PYTHON" "$here/copyq_fill.py" "$HISTORY_FILE" >"$TEST_ROOT/fill.js"
peer_entries=$(peer copyq eval - <"$TEST_ROOT/fill.js") || fail "could not fill copyq's history"
record peer_entries "$peer_entries"
wait_for 20 "$bench_dir/opentimer" --pid "$COPYQ_PID" --key super+shift+v --close-key Escape --warmup 1 \
    --count 0 || fail "the shortcut does not show copyq's window"
record peer_rss_kib "$(resident_kib "$COPYQ_PID")"
note "copyq: $peer_entries entries, resident $(resident_kib "$COPYQ_PID") KiB after showing its window once"

note "copyq: $OPENINGS openings on Super+Shift+V, closed with Escape"
PREFIX=peer time_openings "$COPYQ_PID" --key super+shift+v --close-key Escape --warmup 1 --count "$OPENINGS" \
    || fail "timing copyq failed"
peer copyq exit >/dev/null 2>&1 || true
wait_for 10 sh -c "! kill -0 $COPYQ_PID" || true
