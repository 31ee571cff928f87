#!/usr/bin/env bash
# Makes the benchmark pictures from photos that a Debian package ships (see
# scripts/packages-bench.txt). Each picture is made once.
set -euo pipefail
data=$1
mkdir -p "$data"
