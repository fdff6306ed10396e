# Ended (SIGTERM) while a copy is being read and classified, twenty times over: the program always
# finishes its termination sequence and exits cleanly, never crashing in the capture worker while the
# process takes itself apart.
#
# RELIABILITY_TERM_RUNS (20) repeats a run.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/capture-lib.sh"

RUNS=${RELIABILITY_TERM_RUNS:-20}
# A table of 25,000 rows: well within what is read, and most of a second for the importer.
"$PYTHON" -c 'import sys; sys.stdout.write("<table>" + "<tr><td>cell</td></tr>" * 25000 + "</table>")' \
    >"$TEST_ROOT/table.html"

start_desktop
for run in $(seq 1 "$RUNS"); do
    start_stashwell
    copy_file text/html "$TEST_ROOT/table.html"
    # Mid-way through the reading or the rendering, whichever this run reaches.
    sleep "0.$((RANDOM % 4 + 1))"
    stop_stashwell TERM
    [[ $STASHWELL_STATUS == 0 ]] || fail "run $run: stashwell exited with status $STASHWELL_STATUS after SIGTERM"
done
! grep -E "QThread: Destroyed|Segmentation|Aborted" "$STASHWELL_LOG" || fail "the log tells of a crash"
note "$RUNS runs ended by SIGTERM during a capture, all exited with status 0"
