#!/usr/bin/env python3
"""Pillow's side of the imaging figures, printed as Google Benchmark JSON.

Times Pillow's BILINEAR resize of the 2000 x 3000 photo to 3000 x 4500 (the same support as
Hermite) and Image.getcolors(16777216) of the 12-megapixel photo. Pillow runs on one core.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from peer_timing import median_ns, print_results  # noqa: E402
from PIL import Image  # noqa: E402


def load(folder, name):
    picture = Image.open(os.path.join(folder, name)).convert("RGB")
    picture.load()
    return picture


def main():
    folder = sys.argv[1]
    bilinear = getattr(Image, "Resampling", Image).BILINEAR
    photo = load(folder, "photo-2000x3000.bmp")
    big = load(folder, "photo-4000x3000.bmp")
    print_results({
        "pillow/bilinear_up": median_ns(lambda: photo.resize((3000, 4500), bilinear)),
        "pillow/getcolors_12mp": median_ns(lambda: big.getcolors(16777216)),
    })


if __name__ == "__main__":
    main()
