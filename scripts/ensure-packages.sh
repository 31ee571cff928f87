#!/usr/bin/env bash
# Installs the Debian packages named in the given list files that are not installed yet.
set -euo pipefail
want=()
for list in "$@"; do
  while read -r name; do
    name=${name%%#*}; name=${name//[[:space:]]/}
    [ -n "$name" ] || continue
    if ! dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed'; then
      want+=("$name")
    fi
  done < "$list"
done
[ ${#want[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${want[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${want[@]}"
