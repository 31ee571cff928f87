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
import sys
import tempfile

from batch_run import measured_run

batch, photo, work = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
os.makedirs(work, exist_ok=True)
folder = tempfile.mkdtemp(prefix="largest-walk-", dir=work)
try:
    command = [os.path.abspath(batch), photo, "--task", "colors", "--unit", "in", "--width", "60",
               "--dpi", "160", "--save", "X", "--export", "Y", "--as", "jpeg"]
    print(json.dumps({"benchmarks": [measured_run("batch/largest_walk", command, folder)]}, indent=2))
finally:
    shutil.rmtree(folder, ignore_errors=True)
