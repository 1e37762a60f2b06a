#!/usr/bin/env bash
# Builds the fuzz targets and runs each over its committed seeds (fuzz/seeds/TARGET) and its
# regression inputs (fuzz/regress/TARGET), then mutates them for a fixed number of runs from
# a fixed seed: every machine runs the same inputs and gets the same result. Any crash,
# leak, out-of-memory or time-out fails. Usage: scripts/fuzz-regress.sh
source "$(dirname "$0")/common.sh"
seed=1
runs=30000  # per target: 10 to 35 s each, two at a time, about a minute in all
parallel=2

configure_and_build fuzz >/dev/null
shopt -s nullglob
targets=(build/fuzz/fuzz/*_fuzz)
[ ${#targets[@]} -gt 0 ] || { echo "fuzz-regress: no fuzz targets in build/fuzz/fuzz" >&2; exit 1; }
work=build/fuzz/regress-run
rm -rf "$work"
mkdir -p "$work"

# run_target TARGET: leaves the log in $work/NAME.log and the exit status in $work/NAME.rc.
# The inputs are listed in name order (a directory's order differs between machines). The
# target runs without address randomisation and with a fixed environment, so its stack sits
# at the same addresses in every run (file names are kept per document address, and a new
# address takes another path), and the fuzzer does not learn from compared values
# (-use_cmp=0): they include heap addresses, which move with the timing of its threads.
# New inputs go to a scratch directory; crash inputs are written beside the log.
run_target() {
  local name list
  name=$(basename "$1")
  list=$work/$name.inputs
  find "fuzz/seeds/$name" "fuzz/regress/$name" -type f | LC_ALL=C sort | paste -sd, >"$list"
  mkdir -p "$work/$name"
  env -i PATH=/usr/bin:/bin setarch -R "$1" -seed=$seed -runs=$runs -use_cmp=0 -reload=0 -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$work/$name." -seed_inputs=@"$list" "$work/$name" \
    >"$work/$name.log" 2>&1 && echo 0 >"$work/$name.rc" || echo $? >"$work/$name.rc"
}

for target in "${targets[@]}"; do
  for dir in fuzz/seeds fuzz/regress; do
    [ -d "$dir/$(basename "$target")" ] || { echo "fuzz-regress: $dir/$(basename "$target") is missing" >&2; exit 1; }
  done
done
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge $parallel ]; do wait -n || true; done
  run_target "$target" &
done
wait

failed=0
for target in "${targets[@]}"; do
  name=$(basename "$target")
  rc=$(cat "$work/$name.rc" 2>/dev/null || echo "unknown")
  if [ "$rc" != 0 ]; then
    echo "$name FAILED (exit $rc), log $work/$name.log:"
    tail -40 "$work/$name.log"
    failed=1
  else
    echo "$name: $(grep -oE 'Done [0-9]+ runs' "$work/$name.log"), $(grep -E '^#[0-9]+' "$work/$name.log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+')"
  fi
done
exit $failed
