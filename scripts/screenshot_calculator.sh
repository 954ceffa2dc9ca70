#!/usr/bin/env bash
# Starts the calculator under Xvfb with a CJK font and the accessibility bridge on, checks through
# the bridge that the form's fields are announced by their labels, presses "定价" and
# "风险指标计算", and writes screenshots (start, after pricing, after the Greeks) to the folder
# given (default: screenshots/ in the build tree).
#   BUILD_DIR   build tree to use (default build); SKIP_BUILD=1 uses it as it is.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

BUILD_DIR="${BUILD_DIR:-build}"
OUT="${1:-$ROOT/$BUILD_DIR/screenshots}"
mkdir -p "$OUT"
OUT="$(cd "$OUT" && pwd)"

if [ -z "${BRIMVALE_IN_XVFB:-}" ]; then
    ensure_packages
    if [ -z "${SKIP_BUILD:-}" ]; then
        if [ ! -f "$ROOT/$BUILD_DIR/CMakeCache.txt" ]; then
            cmake -S "$ROOT" -B "$ROOT/$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
        fi
        cmake --build "$ROOT/$BUILD_DIR" --target brimvale -j "$JOBS"
    fi
    # A display, a session bus (the accessibility bus is started on it on demand) and a font.
    exec env BRIMVALE_IN_XVFB=1 BUILD_DIR="$BUILD_DIR" \
        xvfb-run -a -s "-screen 0 1600x1000x24" \
        dbus-run-session -- bash "${BASH_SOURCE[0]}" "$OUT"
fi

# Inside Xvfb: the program works in a scratch folder so that its grid files and exports stay out
# of the tree; it finds its calendar beside the executable.
WORK="$(mktemp -d)"
trap 'kill "$APP" 2>/dev/null; wait "$APP" 2>/dev/null; rm -rf "$WORK"' EXIT
cd "$WORK"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 BRIMVALE_BASE_DIR="$WORK" \
    "$ROOT/$BUILD_DIR/bin/brimvale" > "$WORK/app.log" 2>&1 &
APP=$!
if /usr/bin/python3 "$ROOT/scripts/drive_calculator.py" "$OUT"; then
    echo "screenshots in $OUT"
else
    echo "accessibility check or drive failed; program log:"
    cat "$WORK/app.log"
    exit 1
fi
