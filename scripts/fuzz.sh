#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) and runs each for SECONDS on a
# corpus grown from its seeds and regression inputs; open-ended, unlike fuzz-regress.sh.
# Usage: scripts/fuzz.sh [SECONDS]
source "$(dirname "$0")/common.sh"
seconds=${1:-60}
configure_and_build fuzz >/dev/null
shopt -s nullglob
targets=(build/fuzz/fuzz/*_fuzz)
[ ${#targets[@]} -gt 0 ] || { echo "fuzz.sh: no fuzz targets in build/fuzz/fuzz" >&2; exit 1; }
for target in "${targets[@]}"; do
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  for dir in fuzz/seeds/"$name" fuzz/regress/"$name"; do
    [ -d "$dir" ] && cp -n "$dir"/* "$corpus"/ 2>/dev/null || true
  done
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 "$corpus" 2>build/fuzz/$name.log ||
    { tail -40 build/fuzz/$name.log; exit 1; }
  grep -E '^Done|stat::number_of_executed_units' build/fuzz/$name.log | tail -1
done
