#!/usr/bin/env bash
# Builds the stand-alone analysis panels, lets each compute on the classic one-year snowball and
# takes a screenshot of it on a virtual screen with a CJK font, so that the chart, the coloured
# stress tables and the win-rate table can be checked by eye. Not part of the tests.
#   scripts/screenshot_panels.sh [output folder]
# BUILD_DIR selects the build tree (default build-screenshot).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build-screenshot}"
OUT_DIR="${1:-$ROOT}"
mkdir -p "$OUT_DIR"

for tool in xvfb-run import fc-list; do
    command -v "$tool" >/dev/null || { echo "missing $tool (xvfb, imagemagick, fontconfig)" >&2; exit 1; }
done
fc-list | grep -i 'wqy' >/dev/null || { echo "missing the CJK font fonts-wqy-zenhei" >&2; exit 1; }

if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" >/dev/null
else
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DBRIMVALE_BENCH=OFF -DBRIMVALE_TESTS=OFF
fi
cmake --build "$BUILD_DIR" --target panels_demo -j 2

# The win-rate panel finds the shipped calendar beside the executable.
DEMO="$BUILD_DIR/bin/panels_demo"
export QT_QPA_PLATFORM=xcb
export DEMO
for panel in univariate stress winrate; do
    OUT="$OUT_DIR/panel_$panel.png"
    export OUT panel
    xvfb-run -a -s "-screen 0 1200x560x24" bash -c '
        "$DEMO" "$panel" &
        pid=$!
        sleep 5
        import -window root "$OUT"
        kill "$pid"
    '
    echo "$OUT"
done
