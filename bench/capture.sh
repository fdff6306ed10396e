#!/usr/bin/env bash
# Prints the capture figures: runs bench_capture on a private X server with the clipowner helper.
#   bench/capture.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
ninja -C "$build" bench_capture clipowner >/dev/null
STASHWELL_BIN=/bin/true "$here/../tests/desktop/with-xvfb" "$build/bench/bench_capture" "$build/tests/clipowner" \
    2> >(grep -v -e '^Openbox' -e '_XSERVTrans' -e 'XIO:' -e 'after [0-9]* requests' -e 'X connection to' >&2)
