#!/usr/bin/env python3
"""Pillow's side of the enhance figures, printed as Google Benchmark JSON.

Times one ImageFilter.Kernel pass with the enhance screen's blur weights (1 2 1 / 2 20 2 /
1 2 1, divisor 32) over the 2520 x 3780 photo. Pillow runs on one core.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from peer_timing import median_ns, print_results  # noqa: E402
from PIL import Image, ImageFilter  # noqa: E402


def main():
    folder = sys.argv[1]
    photo = Image.open(os.path.join(folder, "photo-2520x3780.bmp")).convert("RGB")
    photo.load()
    blur = ImageFilter.Kernel((3, 3), [1, 2, 1, 2, 20, 2, 1, 2, 1], scale=32)
    print_results({"pillow/blur_kernel_3x3": median_ns(lambda: photo.filter(blur))})


if __name__ == "__main__":
    main()
