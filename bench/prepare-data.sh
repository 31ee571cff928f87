#!/usr/bin/env bash
# Makes the benchmark pictures from photos that a Debian package ships (see
# scripts/packages-bench.txt). Each picture is made once.
set -euo pipefail
data=$1
mkdir -p "$data"
photos=/usr/share/backgrounds/mate/nature

# make NAME SOURCE CROP WIDTH HEIGHT: a centre crop of the photo (to the target's aspect
# ratio), resized to exactly WIDTH x HEIGHT.
make() {
  local name=$1 source=$2 crop=$3 width=$4 height=$5
  [ -s "$data/$name" ] && return 0
  [ -r "$source" ] || { echo "missing photo $source (is mate-backgrounds installed?)" >&2; exit 1; }
  local out
  case "$name" in
    *.bmp) out="BMP3:$data/$name.tmp" ;;  # 24 bits per pixel, no palette
    *.jpg) out="JPEG:$data/$name.tmp" ;;
    *.png) out="PNG24:$data/$name.tmp" ;;
  esac
  gm convert "$source" -crop "$crop" +repage -resize "${width}x${height}!" -type TrueColor \
    -quality 92 "$out"
  mv "$data/$name.tmp" "$data/$name"
  echo "made $name"
}

# 2560 x 1600 photos, cropped to 2:3 and 4:3 around their middle.
make photo-2000x3000.bmp "$photos/YellowFlower.jpg" 1067x1600+746+0 2000 3000
make photo-2520x3780.bmp "$photos/Garden.jpg" 1067x1600+746+0 2520 3780
make photo-1400x2000.bmp "$photos/Garden.jpg" 1120x1600+720+0 1400 2000
make photo-4000x3000.bmp "$photos/LadyBird.jpg" 2133x1600+213+0 4000 3000
make photo-4000x3000.jpg "$photos/LadyBird.jpg" 2133x1600+213+0 4000 3000
make photo-4000x3000.png "$photos/LadyBird.jpg" 2133x1600+213+0 4000 3000
