#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) and runs each for SECONDS on its
# seed corpus. Usage: scripts/fuzz.sh [SECONDS]
source "$(dirname "$0")/common.sh"
seconds=${1:-60}
configure_and_build fuzz >/dev/null
shopt -s nullglob
targets=(build/fuzz/fuzz/*_fuzz)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets"; exit 0; }
for target in "${targets[@]}"; do
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  [ -d "fuzz/seeds/$name" ] && cp -n fuzz/seeds/"$name"/* "$corpus"/ 2>/dev/null || true
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 "$corpus" 2>build/fuzz/$name.log ||
    { tail -40 build/fuzz/$name.log; exit 1; }
  grep -E '^Done|stat::number_of_executed_units' build/fuzz/$name.log | tail -1
done
