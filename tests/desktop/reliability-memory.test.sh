# 10,000 copies of every kind, some of them repeated, at a history cap of 1,000: resident memory
# stays flat once the history is full, the history holds exactly 1,000 entries, and images/ and
# assets/ hold exactly the files the history names.
#
# Flat: the growth from the end of the warm-up (3,000 copies: the history has been full for well
# over a thousand copies, every kind has been trimmed and Qt's caches have their working size) to the
# end, each side the median of three samples, stays under 4 MB, a tenth of what the program holds
# then (about 40 MB). Leaking 600 bytes per copy over the 7,000 copies after the warm-up would pass
# it: any image, thumbnail or document buffer, or a whole entry with its strings. The heap's own
# drift (fragmentation, allocator caches) measured here is about 1 MB.
#
# RELIABILITY_COPIES (10000) shortens the run by hand.
source "$(dirname "$0")/lib.sh"

COPIES=${RELIABILITY_COPIES:-10000}
CAP=1000
WARM_UP=$((COPIES * 3 / 10 / 500 * 500)) # on a sample
LIMIT_KB=$((4 * 1024))

mkdir -p "$XDG_CONFIG_HOME/Stashwell"
echo "{\"stashwell.maxHistoryItems\": $CAP}" >"$XDG_CONFIG_HOME/Stashwell/defaults.json"
start_desktop
start_stashwell

started=$SECONDS
"$STASHWELL_HELPERS/copy_burst" --count "$COPIES" --handshake --repeats \
    --kinds text,image,link,html,text,rtf,color,file,pdf --prefix mixed \
    --sample-pid "$STASHWELL_PID" --sample-every 500 >"$TEST_ROOT/burst" || fail "copy_burst failed"
took=$((SECONDS - started))
kill -0 "$STASHWELL_PID" || fail "stashwell died during the copies"
read -r _ copies read_count < <(grep '^done' "$TEST_ROOT/burst")
note "$copies copies in ${took} s, $read_count read by stashwell"
[[ $read_count -eq $copies ]] || fail "$((copies - read_count)) copies were never read"

# The save follows the last change within a save delay.
sleep 1
awk '/^rss/ { printf "%s:%d ", $2, $3 / 1024 } END { print "" }' "$TEST_ROOT/burst" | fold -s -w 100 |
    sed 's/^/# RSS MB after copies: /'
growth=$(awk -v w="$WARM_UP" '
    /^rss/ { n[++k] = $2; v[k] = $3 }
    function median(a, b, c) { return a + b + c - (a < b ? (a < c ? a : c) : (b < c ? b : c)) - (a > b ? (a > c ? a : c) : (b > c ? b : c)) }
    END {
        for (i = 2; i < k; i++) if (n[i] == w) at = i
        print v[at], v[k - 1], median(v[at - 1], v[at], v[at + 1]), median(v[k - 2], v[k - 1], v[k])
    }' "$TEST_ROOT/burst")
read -r warm_kb end_kb warm_median end_median <<<"$growth"
[[ -n $end_median ]] || fail "too few memory samples"
delta=$((end_median - warm_median))
note "resident memory: $((warm_median / 1024)) MB after $WARM_UP copies, $((end_median / 1024)) MB at the end: ${delta} kB growth (limit $LIMIT_KB kB)"
((delta < LIMIT_KB)) || fail "resident memory grew by $delta kB after the warm-up"

"$PYTHON" - "$HISTORY_DIR" "$CAP" <<'PY' || fail "history and stored files disagree"
import collections, json, os, sys

folder, cap = sys.argv[1], int(sys.argv[2])
entries = json.load(open(os.path.join(folder, "history.json"), encoding="utf-8"))
named = set()
for e in entries:
    for key in ("imagePath", "thumbnailPath", "assetPath"):
        if e.get(key):
            named.add(e[key])
stored = {os.path.join(folder, sub, name) for sub in ("images", "assets") for name in os.listdir(os.path.join(folder, sub))}
kinds = collections.Counter(e["kind"] for e in entries)
print("# history:", len(entries), "entries,", ", ".join(f"{k} {n}" for k, n in sorted(kinds.items())))
print("# files:", len(stored), "stored,", len(named), "named by the history")
ok = True
if len(entries) != cap:
    print(f"{len(entries)} entries instead of {cap}", file=sys.stderr)
    ok = False
if stored - named:
    print(f"{len(stored - named)} stray files, e.g. {sorted(stored - named)[:3]}", file=sys.stderr)
    ok = False
if named - stored:
    print(f"{len(named - stored)} named files missing, e.g. {sorted(named - stored)[:3]}", file=sys.stderr)
    ok = False
sys.exit(0 if ok else 1)
PY

stop_stashwell
