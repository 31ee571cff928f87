"""What the Pillow peers under bench/peers share: Pillow itself (from Debian's interpreter),
the timing loop, and the Google Benchmark JSON that bench/figures.py reads."""
import json
import os
import statistics
import sys
import time

try:
    import PIL  # noqa: F401
except ImportError:
    # Debian's python3-pil belongs to the system interpreter; another python3 may come first.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
    raise

REPETITIONS = 5
MIN_SECONDS = 0.5


def median_ns(work):
    """Median over repetitions of the mean time per call, each repetition at least MIN_SECONDS."""
    work()  # warm up
    times = []
    for _ in range(REPETITIONS):
        calls = 0
        start = time.perf_counter()
        while True:
            work()
            calls += 1
            elapsed = time.perf_counter() - start
            if elapsed >= MIN_SECONDS:
                break
        times.append(elapsed / calls * 1e9)
    return statistics.median(times)


def print_results(results):
    """Prints {name: nanoseconds} as Google Benchmark's median aggregates."""
    print(json.dumps({"benchmarks": [
        {"name": name + "_median", "run_name": name, "aggregate_name": "median",
         "real_time": ns, "time_unit": "ns"}
        for name, ns in results.items()
    ]}, indent=1))
