"""One run of the batch command, measured as Google Benchmark's JSON shape expects it."""
import os
import subprocess
import sys
import time


def measured_run(name, command, folder):
    """Runs `command` in `folder` and gives a benchmark entry: its wall time as the real time and
    its peak resident memory (the child's getrusage) as the counter "peak_rss_bytes". A failed run
    ends the script with its messages."""
    log = os.path.join(folder, "messages.txt")
    with open(log, "w") as messages:
        start = time.monotonic()
        child = subprocess.Popen(command, cwd=folder, stdout=subprocess.DEVNULL, stderr=messages)
        _, status, usage = os.wait4(child.pid, 0)
        seconds = time.monotonic() - start
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        with open(log) as messages:
            sys.exit(f"{name} failed with exit code {code}: {messages.read().strip()}")
    return {
        "name": name,
        "run_name": name,
        "iterations": 1,
        "real_time": seconds,
        "cpu_time": usage.ru_utime + usage.ru_stime,
        "time_unit": "s",
        "peak_rss_bytes": usage.ru_maxrss * 1024,  # Linux gives kibibytes
    }
