# What both test desktops (Xvfb in lib.sh, headless sway in sway-lib.sh) share: the processes a
# test started, ended at its end, and the checks' vocabulary.

TEST_PIDS=()

# Ends every process the test started, newest first, each gone before the next: the display server
# goes last, so that no client of it is left to complain that its display went away.
end_test_processes() {
    local pid
    for ((i = ${#TEST_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${TEST_PIDS[$i]}
        kill "$pid" 2>/dev/null || continue
        for _ in $(seq 1 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.02
        done
        kill -9 "$pid" 2>/dev/null || true
    done
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

note() {
    echo "# $*"
}

# Waits up to $1 seconds for the command to succeed.
wait_for() {
    local timeout=$1
    shift
    local deadline=$((SECONDS + timeout))
    while ! "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}
