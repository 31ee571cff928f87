#!/bin/sh
# Runs a test program the way an ordinary user's program meets the disk: root loses its power to
# write past file permissions, so read-only folders and files stop it as they stop anyone.
# Exits 77 (skipped) where this system does not let root give that power up.
if [ "$(id -u)" = 0 ]; then
  drop=-dac_override,-dac_read_search,-fowner
  if ! setpriv --bounding-set "$drop" -- true 2>/dev/null; then
    echo "cannot run without the power to write past permissions here" >&2
    exit 77
  fi
  exec setpriv --bounding-set "$drop" -- env DG_UNPRIVILEGED=1 "$@"
fi
exec env DG_UNPRIVILEGED=1 "$@"
