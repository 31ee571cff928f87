#!/bin/bash
# Makes the screenshots in docs/: the program itself under a virtual display for the start-up
# pictures (the splash over SELECT TASK, then SELECT TASK alone), and the screen tests named
# Screenshots under the same kind of display for the later screens: the output-size screen
# with a picture loaded, a long step's progress over it, and a real photograph walked from
# the separation to PRINTING; and on a 1366 x 768 display, the zoomed SOURCE viewer beside the
# output-size screen.
#   docs/take-screenshots.sh [BUILD_FOLDER]    (default build/release, built with its tests)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++17 -fPIC "$root/docs/tools/grab-screen.cpp" -o "$work/grab-screen" $(pkg-config --cflags --libs Qt6Gui)

cat > "$work/session.sh" <<SESSION
cd "$work"
"$build/src/dermagraph" & pid=\$!
sleep 4
"$work/grab-screen" "$root/docs/splash-over-select-task.png" 0 0 1020 730
sleep 9
"$work/grab-screen" "$root/docs/select-task.png" 0 0 1020 730
kill \$pid
SESSION
xvfb-run -a -s "-screen 0 1280x800x24" bash "$work/session.sh"

DG_SCREENSHOT_DIR="$root/docs" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/tests/test_screens" --gtest_filter='Screenshot*.*-Screenshots.ZoomedSourceBesideOutputSize'
DG_SCREENSHOT_DIR="$root/docs" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1366x768x24" \
    "$build/tests/test_screens" --gtest_filter='Screenshots.ZoomedSourceBesideOutputSize'
