#!/usr/bin/env bash
# Runs every benchmark program and every peer script in one go, then prints one
# `figure NAME VALUE UNIT` line per line of bench/figures.txt.
set -euo pipefail
build=${1:-build/release}
here=$(cd "$(dirname "$0")" && pwd)
out="$build/bench-out"
data="$build/bench-data"
mkdir -p "$out" "$data"
export DG_BENCH_DATA="$data"
export QT_QPA_PLATFORM=offscreen

# The pictures every benchmark and peer reads, made once from packaged photos.
"$here/prepare-data.sh" "$data"

shopt -s nullglob
for exe in "$build"/bench/bench_*; do
  [ -f "$exe" ] && [ -x "$exe" ] || continue
  name=$(basename "$exe")
  echo "running $name"
  "$exe" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
         --benchmark_out="$out/$name.json" --benchmark_out_format=json >/dev/null
done
# Peers outside C++ (Pillow) write the same JSON shape as Google Benchmark.
for peer in "$here"/peers/*.py; do
  name=$(basename "$peer" .py)
  echo "running $name"
  python3 "$peer" "$data" > "$out/$name.json"
done
# The largest design, once: a single run takes tens of seconds and gigabytes of memory.
echo "running largest_walk"
# A failed walk leaves its figures at nan and says why; the other figures still come out.
rm -f "$out/largest_walk.json"
if python3 "$here/largest_walk.py" "$build/src/dermagraph-batch" "$data/photo-1600x1600.jpg" \
     "$build/bench-work" > "$out/largest_walk.json.part"; then
  mv "$out/largest_walk.json.part" "$out/largest_walk.json"
else
  rm -f "$out/largest_walk.json.part"
fi
# Printing the 26 pages of a design to a 300 dpi queue of a private print system (root only:
# without it the print figures stay at nan).
echo "running print_walk"
rm -f "$out/print_walk.json"
if "$here/../tests/print/with-private-cups.sh" python3 "$here/print_walk.py" "$build/src/dermagraph-batch" \
     "$data/photo-1600x1600.jpg" "$build/bench-work" > "$out/print_walk.json.part"; then
  mv "$out/print_walk.json.part" "$out/print_walk.json"
else
  rm -f "$out/print_walk.json.part"
fi
python3 "$here/figures.py" "$out" "$here/figures.txt"
