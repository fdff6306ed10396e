#!/usr/bin/env python3
"""Prints bench/run's table from the figures it gathered: table.py WORK LOG LOAD CORES, where WORK
holds history.json (Google Benchmark's output) and desktop.txt (bench/desktop.sh's key=value lines)
and LOG the benchmark programs' own output."""
import json, os, re, sys

work, log, load, cores = sys.argv[1:5]
text = open(log, errors="replace").read()


def grab(pattern):
    found = re.search(pattern, text)
    return float(found.group(1)) if found else None


desktop = {}
if os.path.exists(os.path.join(work, "desktop.txt")):
    for line in open(os.path.join(work, "desktop.txt")):
        key, _, value = line.strip().partition("=")
        desktop[key] = value


def number(key):
    try:
        return float(desktop[key])
    except (KeyError, ValueError):
        return None


history = {}
if os.path.exists(os.path.join(work, "history.json")):
    for bench in json.load(open(os.path.join(work, "history.json")))["benchmarks"]:
        history[bench["name"]] = bench["real_time"]  # in the benchmark's unit, milliseconds here

rows = []


def row(measure, value, unit, how):
    shown = "n/a" if value is None else (f"{value:.3f}" if value < 1 else f"{value:.1f}" if value < 100 else f"{value:.0f}")
    rows.append((measure, shown if value is None else f"{shown} {unit}", how))


row("capture latency", grab(r"text copy, owner change to item added \(50 copies\): median ([\d.]+) ms"), "ms",
    "owner change to item added, median of 50 text copies")
painting = grab(r"open to first frame, median of 20: ([\d.]+) ms")
row("popup first frame", grab(r"open to first painted frame through the event loop, median of 20: ([\d.]+) ms"),
    "ms", "show() to the first paint through the event loop on X11, median of 20 openings, 1,000 entries "
    f"(painting alone {painting} ms)")
row("search keystroke", grab(r"one keystroke \(filter 1,000 \+ repaint\), median of \d+: ([\d.]+) ms"), "ms",
    "re-filter 1,000 entries and repaint, median")
entries = f"{int(desktop['entries']):,}" if desktop.get("entries", "").isdigit() else "1,000"
peer = f"peer: CopyQ {desktop.get('peer_version', '')}".strip()
has_peer = "peer_painted_ms" in desktop
row("popup open, program", number("stashwell_painted_ms"), "ms",
    f"Super+Shift+V to the first drawing on screen (mapped at {desktop.get('stashwell_mapped_ms')} ms), "
    f"median of {desktop.get('stashwell_openings', '?')}, {entries} entries")
if has_peer:
    row(f"{peer}, open", number("peer_painted_ms"), "ms",
        f"the same, its window on the same shortcut (mapped at {desktop.get('peer_mapped_ms')} ms), "
        f"{desktop.get('peer_entries', '?')} entries")
else:
    rows.append(("peer, open", "skipped", "copyq not installed (scripts/deps bench), or its run failed: see the log"))
rss = number("stashwell_rss_kib")
row("resident memory", None if rss is None else rss / 1024, "MiB", f"the program with {entries} entries, popup opened once")
if has_peer:
    peer_rss = number("peer_rss_kib")
    row(f"{peer}, memory", None if peer_rss is None else peer_rss / 1024, "MiB",
        "the same entries, its window shown once")
row("idle CPU", number("stashwell_idle_cpu_percent"), "%",
    f"the program's user+system time over {desktop.get('stashwell_idle_seconds', '60')} s idle")
row("history load", history.get("BM_LoadStore"), "ms", "read, decode and sweep 1,000 entries")
row("history save", history.get("BM_SaveHistory"), "ms", "encode, write, fsync and rename 1,000 entries")

width = [max(len(r[i]) for r in rows + [("measure", "value", "")]) for i in range(2)]
print()
print(f"Stashwell figures on {cores} cores, load average {load} at the start (busy machines give noisy figures)")
print(f"{'measure':<{width[0]}}  {'value':>{width[1]}}  how")
print(f"{'-' * width[0]}  {'-' * width[1]}  {'-' * 3}")
for measure, value, how in rows:
    print(f"{measure:<{width[0]}}  {value:>{width[1]}}  {how}")
print()
print(f"details: {log}")
