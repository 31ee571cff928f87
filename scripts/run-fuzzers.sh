#!/usr/bin/env bash
# Runs every libFuzzer program in the given folder for a bounded number of seconds each.
set -euo pipefail
dir=$1
seconds=$2
shopt -s nullglob
ran=0
for fuzzer in "$dir"/fuzz_*; do
  [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="fuzz/seeds/${name#fuzz_}"
  args=("$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "fuzzing $name for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 "${args[@]}" 2>&1 | tail -n 5
  ran=$((ran + 1))
done
echo "fuzz targets run: $ran"
