#!/usr/bin/env python3
"""Pillow's side of the imaging figures, printed as Google Benchmark JSON.

Times Pillow's BILINEAR resize of the 2000 x 3000 photo to 3000 x 4500 (the same support as
Hermite) and Image.getcolors(16777216) of the 12-megapixel photo. Pillow runs on one core.
"""
import json
import os
import statistics
import sys
import time

try:
    from PIL import Image
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


def load(folder, name):
    picture = Image.open(os.path.join(folder, name)).convert("RGB")
    picture.load()
    return picture


def main():
    folder = sys.argv[1]
    bilinear = getattr(Image, "Resampling", Image).BILINEAR
    photo = load(folder, "photo-2000x3000.bmp")
    big = load(folder, "photo-4000x3000.bmp")
    results = {
        "pillow/bilinear_up": median_ns(lambda: photo.resize((3000, 4500), bilinear)),
        "pillow/getcolors_12mp": median_ns(lambda: big.getcolors(16777216)),
    }
    print(json.dumps({"benchmarks": [
        {"name": name + "_median", "run_name": name, "aggregate_name": "median",
         "real_time": ns, "time_unit": "ns"}
        for name, ns in results.items()
    ]}, indent=1))


if __name__ == "__main__":
    main()
