#!/usr/bin/env bash
# A long local fuzz run: scripts/fuzz.sh [SECONDS] [TARGET...]
#
# Builds the libFuzzer targets named (default: every one) with AddressSanitizer
# and UBSan (build/fuzz), then fuzzes each of them for SECONDS (default
# 600) from a scratch copy of fuzz/corpus/<target>/ in build/fuzz-long/, and
# merges what the run found into fuzz/corpus/<target>/: only the inputs that
# reach code the corpus did not (libFuzzer's -merge=1 on edge coverage), so
# that the next run starts where this one ended and the corpus stays small.
# Review and commit the new files; their traces join
# tests/golden/corpus-traces.txt (see fuzz/README.md). A finding stops the
# script before anything is merged and leaves its input in
# build/fuzz-long/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-600}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS] [TARGET...]" >&2
  exit 2
fi
shift || true
. fuzz/fuzz_targets.sh
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${fuzz_targets[@]}")
for target in "${targets[@]}"; do
  if [[ " ${fuzz_targets[*]} " != *" $target "* ]]; then
    echo "fuzz.sh: unknown target '$target' (known: ${fuzz_targets[*]})" >&2
    exit 2
  fi
done

bash scripts/setup.sh
CXX=clang++ bash scripts/build.sh build/fuzz -DVITALCHART_FUZZ=ON -DVITALCHART_SANITIZE=ON -DVITALCHART_WERROR=ON \
  -- "${targets[@]/#/fuzz_}"

for target in "${targets[@]}"; do
  work=$root/build/fuzz-long/$target
  rm -rf "$work"
  mkdir -p "$work/corpus"
  cp fuzz/corpus/$target/* "$work/corpus/"
  before=$(ls fuzz/corpus/$target | wc -l)
  run() {
    (cd "$work" &&
      ASAN_OPTIONS=detect_leaks=$(fuzz_leaks $target):abort_on_error=1 \
      LSAN_OPTIONS=suppressions=$root/tests/lsan.supp \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$root/build/fuzz/fuzz/fuzz_$target" -timeout=10 -rss_limit_mb=2048 -detect_leaks="$(fuzz_leaks $target)" \
          "${fuzz_flags[@]}" -artifact_prefix="$work/" "$@")
  }
  echo "== fuzz_$target for $seconds s"
  if ! run -max_total_time="$seconds" -max_len="$(fuzz_max_len $target)" -dict="$root/fuzz/vitalchart.dict" \
        -print_final_stats=1 corpus >"$work/log" 2>&1; then
    tail -n 60 "$work/log"
    echo "fuzz_$target found a fault; its input is in $work" >&2
    exit 1
  fi
  grep -h "stat::number_of_executed_units\|stat::new_units_added" "$work/log" || true
  # The repository's inputs stay as they are; of the run's, those that reach
  # code none of them reaches are copied in whole, under their content's
  # hash. (Edges only: counting how often each edge runs would keep an input
  # for every loop count, many times the corpus for little more code.)
  if ! run -merge=1 -use_counters=0 "$root/fuzz/corpus/$target" corpus >"$work/merge.log" 2>&1; then
    tail -n 30 "$work/merge.log"
    echo "fuzz_$target: the merge failed; see $work/merge.log" >&2
    exit 1
  fi
  echo "fuzz_$target: $(($(ls fuzz/corpus/$target | wc -l) - before)) inputs merged into fuzz/corpus/$target"
done
