#!/usr/bin/env python3
"""Measures what printing adds to a walk: the 26 pages of a 23-channel design printed to an A4
queue at 300 dpi of a private print system.

    print_walk.py BATCH PHOTO WORKFOLDER

Runs the colour task's default walk by the batch command on a square photo made a 1400 x 1400
design of 23 channels (`--dpi 160 --width 22.23`), once saving the project only and once also
printing every page to the queue A4-300 (`--print --printer A4-300`), and prints Google
Benchmark's JSON shape: "batch/walk_26_pages" and "batch/print_26_pages", each with its wall
time and peak resident memory. Run it under tests/print/with-private-cups.sh, which makes the
queue.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

from batch_run import measured_run

batch, photo, work = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
os.makedirs(work, exist_ok=True)
folder = tempfile.mkdtemp(prefix="print-walk-", dir=work)
try:
    walk = [batch, photo, "--task", "colors", "--dpi", "160", "--width", "22.23"]
    runs = [measured_run("batch/walk_26_pages", walk + ["--save", "X"], folder),
            measured_run("batch/print_26_pages", walk + ["--save", "Y", "--print", "--printer", "A4-300"], folder)]
    # The jobs are the print system's work from here; wait for them so the next run is quiet.
    deadline = time.monotonic() + 600
    while subprocess.run(["lpstat", "-o"], capture_output=True, text=True).stdout and time.monotonic() < deadline:
        time.sleep(0.5)
    print(json.dumps({"benchmarks": runs}, indent=2))
finally:
    shutil.rmtree(folder, ignore_errors=True)
