#!/usr/bin/env bash
# Builds the stand-alone schedule editor and takes a screenshot of it on a virtual screen with a
# CJK font, so its labels, headers and buttons can be checked by eye. Not part of the tests.
#   scripts/screenshot_observe.sh [output.png] [editor options, e.g. --split]
# BUILD_DIR selects the build tree (default build-screenshot).
source "$(dirname "${BASH_SOURCE[0]}")/screenshot_common.sh"

OUT="${1:-$BUILD_DIR/observe_editor.png}"
shift || true

require_screenshot_tools
build_demo observe_editor_demo

# The editor finds the shipped calendar beside the executable.
screenshot 640x680x24 3 "$OUT" "$BUILD_DIR/bin/observe_editor_demo" "$@"
echo "$OUT"
