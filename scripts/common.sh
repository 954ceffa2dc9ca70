# Shared by scripts/run and scripts/test: package install and the build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc 2>/dev/null || echo 2)"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the packages of scripts/packages.txt that are not installed yet.
ensure_packages() {
    local missing=()
    local pkg
    while read -r pkg; do
        case "$pkg" in ''|'#'*) continue ;; esac
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done < "$ROOT/scripts/packages.txt"
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# build_tree DIR [cmake options...]: configures once, then builds incrementally.
build_tree() {
    local dir="$1"; shift
    if [ ! -f "$ROOT/$dir/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$ROOT/$dir" "$@"
    fi
    cmake --build "$ROOT/$dir" -j "$JOBS"
}

# phase NAME: names the next step with the time since the script started.
phase() {
    echo "== $1 (at $((SECONDS / 60))m$((SECONDS % 60))s)"
}
