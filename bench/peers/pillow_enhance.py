#!/usr/bin/env python3
"""Pillow's side of the enhance figures, printed as Google Benchmark JSON.

Times one ImageFilter.Kernel pass with the enhance screen's blur weights (1 2 1 / 2 20 2 /
1 2 1, divisor 32) over the 2520 x 3780 photo. Pillow runs on one core.
"""
import json
import os
import statistics
import sys
import time

try:
    from PIL import Image, ImageFilter
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


def main():
    folder = sys.argv[1]
    photo = Image.open(os.path.join(folder, "photo-2520x3780.bmp")).convert("RGB")
    photo.load()
    blur = ImageFilter.Kernel((3, 3), [1, 2, 1, 2, 20, 2, 1, 2, 1], scale=32)
    results = {"pillow/blur_kernel_3x3": median_ns(lambda: photo.filter(blur))}
    print(json.dumps({"benchmarks": [
        {"name": name + "_median", "run_name": name, "aggregate_name": "median",
         "real_time": ns, "time_unit": "ns"}
        for name, ns in results.items()
    ]}, indent=1))


if __name__ == "__main__":
    main()
