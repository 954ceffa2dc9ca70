#!/usr/bin/env bash
# Builds the stand-alone analysis panels, lets each compute on the classic one-year snowball and
# takes a screenshot of it on a virtual screen with a CJK font, so that the chart, the coloured
# stress tables and the win-rate table can be checked by eye. Not part of the tests.
#   scripts/screenshot_panels.sh [output folder]
# BUILD_DIR selects the build tree (default build-screenshot).
source "$(dirname "${BASH_SOURCE[0]}")/screenshot_common.sh"

OUT_DIR="${1:-$ROOT}"
mkdir -p "$OUT_DIR"

require_screenshot_tools
build_demo panels_demo

# The win-rate panel finds the shipped calendar beside the executable.
for panel in univariate stress winrate; do
    OUT="$OUT_DIR/panel_$panel.png"
    screenshot 1200x560x24 5 "$OUT" "$BUILD_DIR/bin/panels_demo" "$panel"
    echo "$OUT"
done
