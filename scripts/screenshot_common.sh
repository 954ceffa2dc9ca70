# Shared by the screenshot scripts of the stand-alone demos: the tool check, the build of a demo
# and one screenshot of a program on a virtual screen. Sets ROOT and BUILD_DIR.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build-screenshot}"

# Stops with a message when the virtual screen, the capture tool or the CJK font is missing.
require_screenshot_tools() {
    local tool
    for tool in xvfb-run import fc-list; do
        command -v "$tool" >/dev/null || { echo "missing $tool (xvfb, imagemagick, fontconfig)" >&2; exit 1; }
    done
    fc-list | grep -i 'wqy' >/dev/null || { echo "missing the CJK font fonts-wqy-zenhei" >&2; exit 1; }
}

# build_demo TARGET: configures BUILD_DIR without tests and benchmarks the first time, then builds
# TARGET in it.
build_demo() {
    if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$BUILD_DIR" >/dev/null
    else
        cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DBRIMVALE_BENCH=OFF -DBRIMVALE_TESTS=OFF
    fi
    cmake --build "$BUILD_DIR" --target "$1" -j 2
}

# screenshot SCREEN SECONDS OUT PROGRAM [ARGS...]: starts PROGRAM on a virtual screen SCREEN
# (WxHxDEPTH), lets it draw for SECONDS, writes the whole screen to OUT and ends the program.
screenshot() {
    local screen="$1" seconds="$2" out="$3"
    shift 3
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 $screen" bash -c '
        seconds="$1" out="$2"
        shift 2
        "$@" &
        pid=$!
        sleep "$seconds"
        import -window root "$out"
        kill "$pid"
    ' screenshot "$seconds" "$out" "$@"
}
