#!/usr/bin/env bash
# Runs every libFuzzer program in the given folder over its seed corpus (fuzz/seeds/<name>)
# with its dictionary (fuzz/dicts/<name>.dict), if it has them.
#   run-fuzzers.sh DIR SECONDS          each target for SECONDS
#   run-fuzzers.sh DIR --total SECONDS  SECONDS shared out among the targets (at least 5 each)
# Prints each target's run count; ends with a failure when any target found a crash, a leak
# or a time-out (libFuzzer keeps the input as crash-*, leak-* or timeout-* in build/fuzz/findings).
set -euo pipefail
dir=$1
shift
shopt -s nullglob
fuzzers=()
for fuzzer in "$dir"/fuzz_*; do
  [ -f "$fuzzer" ] && [ -x "$fuzzer" ] && fuzzers+=("$fuzzer")
done
if [ "${#fuzzers[@]}" -eq 0 ]; then
  echo "no fuzz targets in $dir" >&2
  exit 1
fi
if [ "$1" = "--total" ]; then
  seconds=$(($2 / ${#fuzzers[@]}))
  [ "$seconds" -ge 5 ] || seconds=5
else
  seconds=$1
fi
findings=build/fuzz/findings
mkdir -p "$findings"
failed=0
for fuzzer in "${fuzzers[@]}"; do
  name=$(basename "$fuzzer")
  short=${name#fuzz_}
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536
    -artifact_prefix="$findings/$short-" -print_final_stats=1)
  [ -f "fuzz/dicts/$short.dict" ] && args+=(-dict="fuzz/dicts/$short.dict")
  args+=("$corpus")
  [ -d "fuzz/seeds/$short" ] && args+=("fuzz/seeds/$short")
  log="build/fuzz/$name.log"
  status=0
  "$fuzzer" "${args[@]}" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ "$status" -eq 0 ]; then
    echo "$name: ${runs:-?} runs in ${seconds}s"
  else
    failed=1
    echo "$name FAILED (exit $status) after ${runs:-?} runs; the log is $log:"
    grep -E "ERROR|SUMMARY|Test unit written" "$log" | head -n 10
  fi
done
echo "fuzz targets run: ${#fuzzers[@]}"
exit "$failed"
