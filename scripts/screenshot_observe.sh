#!/usr/bin/env bash
# Builds the stand-alone schedule editor and takes a screenshot of it on a virtual screen with a
# CJK font, so its labels, headers and buttons can be checked by eye. Not part of the tests.
#   scripts/screenshot_observe.sh [output.png] [editor options, e.g. --split]
# BUILD_DIR selects the build tree (default build-screenshot).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build-screenshot}"
OUT="${1:-$BUILD_DIR/observe_editor.png}"
shift || true

for tool in xvfb-run import fc-list; do
    command -v "$tool" >/dev/null || { echo "missing $tool (xvfb, imagemagick, fontconfig)" >&2; exit 1; }
done
fc-list | grep -i 'wqy' >/dev/null || { echo "missing the CJK font fonts-wqy-zenhei" >&2; exit 1; }

if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" >/dev/null
else
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DBRIMVALE_BENCH=OFF -DBRIMVALE_TESTS=OFF
fi
cmake --build "$BUILD_DIR" --target observe_editor_demo -j 2

# The editor finds the shipped calendar beside the executable.
DEMO="$BUILD_DIR/bin/observe_editor_demo"
export QT_QPA_PLATFORM=xcb
export DEMO OUT
xvfb-run -a -s "-screen 0 640x680x24" bash -c '
    "$DEMO" "$@" &
    pid=$!
    sleep 3
    import -window root "$OUT"
    kill "$pid"
' screenshot "$@"
echo "$OUT"
