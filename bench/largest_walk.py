#!/usr/bin/env python3
"""Times the colour task's default walk at the largest size the screens allow.

    largest_walk.py BATCH PHOTO WORKFOLDER

Runs `BATCH PHOTO --task colors --unit in --width 60 --dpi 160 --save X --export Y --as jpeg`
(a 9600 x 9600 design from a square photo) once in a fresh folder under WORKFOLDER and prints
Google Benchmark's JSON shape: the wall time as the real time of "batch/largest_walk", and the
run's peak resident memory (the child's getrusage) as its counter "peak_rss_bytes". The
folder, with its several gigabytes of pictures, is removed afterwards.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

batch, photo, work = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
os.makedirs(work, exist_ok=True)
folder = tempfile.mkdtemp(prefix="largest-walk-", dir=work)
try:
    command = [os.path.abspath(batch), photo, "--task", "colors", "--unit", "in", "--width", "60",
               "--dpi", "160", "--save", "X", "--export", "Y", "--as", "jpeg"]
    log = os.path.join(folder, "messages.txt")
    with open(log, "w") as messages:
        start = time.monotonic()
        child = subprocess.Popen(command, cwd=folder, stdout=subprocess.DEVNULL, stderr=messages)
        _, status, usage = os.wait4(child.pid, 0)
        seconds = time.monotonic() - start
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        with open(log) as messages:
            sys.exit(f"largest walk failed with exit code {code}: {messages.read().strip()}")
    print(json.dumps({"benchmarks": [{
        "name": "batch/largest_walk",
        "run_name": "batch/largest_walk",
        "iterations": 1,
        "real_time": seconds,
        "cpu_time": usage.ru_utime + usage.ru_stime,
        "time_unit": "s",
        "peak_rss_bytes": usage.ru_maxrss * 1024,  # Linux gives kibibytes
    }]}, indent=2))
finally:
    shutil.rmtree(folder, ignore_errors=True)
