#!/bin/sh
# Runs the settings-file fuzz target for SECONDS (default 30) from the seed
# files, after building the fuzz tree (scripts/build.sh fuzz). A failing input
# is kept in build/fuzz/artifacts; give it as FILE to run it alone.
# Usage: fuzz.sh [SECONDS] | fuzz.sh FILE
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
B=${SUITE_BUILD:-$root/build}
sh "$root/scripts/build.sh" fuzz
fuzzer="$B/fuzz/tolvane/tests/tolvane_settings_file_fuzz"
seeds="$root/tolvane/tests/fuzz/corpus"
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if [ -f "${1:-}" ]; then exec "$fuzzer" "$1"; fi
seconds=${1:-30}
corpus="$B/fuzz/corpus"
mkdir -p "$corpus" "$B/fuzz/artifacts"
echo "== fuzz: settings file, $seconds s"
log="$B/fuzz/last-run.log"
if "$fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=10 -print_final_stats=1 \
    -dict="$root/tolvane/tests/fuzz/settings.dict" -artifact_prefix="$B/fuzz/artifacts/" "$corpus" "$seeds" \
    >"$log" 2>&1; then
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || true
  echo "fuzz: the settings file target ran $seconds s without a fault"
else
  grep -v '^#[0-9]' "$log" | tail -60
  echo "FAIL: the settings file target found a fault (see $B/fuzz/artifacts)"
  exit 1
fi
