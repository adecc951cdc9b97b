#!/usr/bin/env python3
"""Reads a findings.jsonl as a monitoring agent would, with Python's own json
module: every line one object, every object with the fields docs/events.md
lists for its kind. Exits non-zero, naming the line, on the first that is not."""
import json
import re
import sys

COMMON = {"time", "host", "user", "run", "kind"}
FILE_KINDS = {"new", "changed", "unreadable", "missing", "pending"}
REGISTRY_KINDS = {"registry-new", "registry-modified"}
RUNS = {"logon", "shutdown", "scheduled", "manual"}
ACTIONS = {"scanned", "accepted", "kept"}
COUNTS = {"new", "changed", "unreadable", "missing", "registry-new", "registry-modified", "pending", "checked"}
TIME = re.compile(r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d$")


def check(obj):
    missing = COMMON - obj.keys()
    if missing:
        return "missing %s" % sorted(missing)
    if not TIME.match(obj["time"]):
        return "time %r is not ISO 8601 with an offset" % obj["time"]
    if obj["run"] not in RUNS:
        return "run %r" % obj["run"]
    kind = obj["kind"]
    if kind == "run-end":
        if set(obj["counts"]) != COUNTS or not all(isinstance(v, int) for v in obj["counts"].values()):
            return "counts %r" % obj["counts"]
        if not isinstance(obj["seconds"], (int, float)) or obj["exit"] not in (0, 1, 2):
            return "seconds or exit"
        return None
    where = {"path"} if kind in FILE_KINDS else {"place", "name"} if kind in REGISTRY_KINDS else None
    if where is None:
        return "kind %r" % kind
    missing = (where | {"algorithm", "old", "new", "action"}) - obj.keys()
    if missing:
        return "missing %s" % sorted(missing)
    if obj["action"] not in ACTIONS:
        return "action %r" % obj["action"]
    return None


def main(path):
    ends = 0
    with open(path, "rb") as f:
        for number, raw in enumerate(f, 1):
            try:
                obj = json.loads(raw.decode("utf-8"))
            except (UnicodeDecodeError, json.JSONDecodeError) as e:
                print("%s:%d: not a JSON line: %s" % (path, number, e))
                return 1
            problem = check(obj) if isinstance(obj, dict) else "not an object"
            if problem:
                print("%s:%d: %s" % (path, number, problem))
                return 1
            ends += obj["kind"] == "run-end"
    if ends == 0:
        print("%s: no run-end line" % path)
        return 1
    print("%s: every line parsed" % path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
