#!/usr/bin/env bash
# Builds the typed CSV fuzz target with clang (libFuzzer, AddressSanitizer, UndefinedBehavior-
# Sanitizer) and runs it. Usage: tools/fuzz/run_fuzz.sh [SECONDS] (default 300).
# Findings are written to build-fuzz/findings/, the growing corpus to build-fuzz/corpus/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="$root/build-fuzz"
seconds="${1:-300}"
mkdir -p "$out/corpus" "$out/findings"

clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/calendar" -I"$root/app" \
    "$root/tools/fuzz/typed_csv_fuzz.cpp" "$root/calendar/typed_csv_table.cpp" \
    "$root/calendar/trade_calendar.cpp" "$root/app/sp_logger.cpp" \
    -DSPDLOG_COMPILED_LIB -DSPDLOG_SHARED_LIB -DSPDLOG_FMT_EXTERNAL -lspdlog -lfmt -pthread \
    -o "$out/typed_csv_fuzz"

# Seeds: the shipped calendar's head and a few typed tables.
head -c 4000 "$root/data/trade_calendar.csv" | sed '1s/^/\x02/' > "$out/corpus/seed_calendar"
printf '\x03iNO,lID,5Name,dValue\n1,2,abc,0.5\n# c\n3\n' > "$out/corpus/seed_table"
printf '\x05iDate,3T\n20240102, x \n' > "$out/corpus/seed_header"

ASAN_OPTIONS=detect_leaks=1 "$out/typed_csv_fuzz" "$out/corpus" \
    -max_total_time="$seconds" -max_len=20000 -len_control=0 -timeout=10 -artifact_prefix="$out/findings/" \
    -print_final_stats=1
