#!/usr/bin/env python3
"""Prints one `figure NAME VALUE UNIT` line per line of the figures file.

Each line of the figures file is `NAME UNIT EXPRESSION`; the expression is Python over
t("benchmark name"), the median real time of that benchmark in seconds, and c("benchmark name",
"counter"), a user counter of it, taken from the JSON files (Google Benchmark's format) in the
output folder.
"""
import json
import pathlib
import sys

out, figures = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
medians = {}
counters = {}  # the median entry of each benchmark, for its user counters
units = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
for path in sorted(out.glob("*.json")):
    for b in json.loads(path.read_text()).get("benchmarks", []):
        if b.get("aggregate_name", "median") != "median":
            continue
        name = b.get("run_name", b["name"]).removesuffix("_median")
        medians[name] = b["real_time"] * units[b.get("time_unit", "ns")]
        counters[name] = b


def t(name):
    if name not in medians:
        raise KeyError(f"no benchmark named {name!r}; have: {', '.join(sorted(medians))}")
    return medians[name]


def c(name, counter):
    """A user counter of a benchmark (the median entry's), such as a peak memory figure."""
    if name not in counters or counter not in counters[name]:
        raise KeyError(f"no counter {counter!r} on a benchmark named {name!r}")
    return counters[name][counter]


failed = False
for line in figures.read_text().splitlines():
    line = line.strip()
    if not line or line.startswith("#"):
        continue
    name, unit, expression = line.split(None, 2)
    try:
        value = eval(expression, {"t": t, "c": c})
        print(f"figure {name} {value:.4g} {unit}")
    except Exception as error:  # a missing benchmark must not hide the other figures
        print(f"figure {name} nan {unit}  # {error}", file=sys.stdout)
        failed = True
sys.exit(1 if failed else 0)
