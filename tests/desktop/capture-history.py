#!/usr/bin/env python3
"""Answers questions about a Stashwell history file for the capture tests.

  capture-history.py FILE count
  capture-history.py FILE has-text TEXT          exit 0 when some entry has this text
  capture-history.py FILE id N                   the id of the entry at index N (nothing if none)
  capture-history.py FILE newest KEY=VALUE...    exit 0 when the newest entry matches all checks

Checks: KEY=VALUE compares the field as a string (numbers as written, lists joined with ","),
KEY^=VALUE checks how the field begins, KEY=-- means the field is absent, KEY=@file means the field
names an existing file.
"""
import json
import os
import sys


def load(path):
    try:
        with open(path, encoding="utf-8") as f:
            return json.load(f)
    except (OSError, ValueError):
        return None


def as_text(value):
    if isinstance(value, list):
        return ",".join(str(v) for v in value)
    return str(value)


def main():
    path, question, *args = sys.argv[1:]
    entries = load(path)
    if entries is None:
        return 1
    if question == "count":
        print(len(entries))
        return 0
    if question == "id":
        index = int(args[0])
        print(entries[index]["id"] if index < len(entries) else "")
        return 0
    if question == "has-text":
        return 0 if any(e.get("text") == args[0] for e in entries) else 1
    if question == "newest":
        if not entries:
            return 1
        newest = entries[0]
        for check in args:
            key, _, expected = check.partition("=")
            prefix = key.endswith("^")
            key = key.rstrip("^")
            value = newest.get(key)
            if prefix:
                ok = isinstance(value, str) and value.startswith(expected)
            elif expected == "--":
                ok = value is None
            elif expected == "@file":
                ok = isinstance(value, str) and os.path.isfile(value)
            else:
                ok = value is not None and as_text(value) == expected
            if not ok:
                if os.environ.get("HISTORY_VERBOSE"):
                    print(f"{key}: {value!r}, expected {expected!r}", file=sys.stderr)
                return 1
        return 0
    return 2


sys.exit(main())
