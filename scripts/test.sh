#!/usr/bin/env bash
# Builds and runs every test: a g++ build, and a clang++ build with
# AddressSanitizer and UndefinedBehaviorSanitizer; warnings are errors in both.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== formatting"
bash scripts/check-format.sh

echo "== g++ build"
CXX=g++ bash scripts/build.sh build/gcc -DVITALCHART_WERROR=ON -DVITALCHART_BUILD_BENCHMARKS=ON
ctest --test-dir build/gcc --output-on-failure --parallel "$(nproc)"

echo "== clang++ build with AddressSanitizer and UndefinedBehaviorSanitizer"
CXX=clang++ bash scripts/build.sh build/asan -DVITALCHART_WERROR=ON -DVITALCHART_SANITIZE=ON
# Leaks inside fontconfig's parser and Cairo's PDF writer are the libraries'
# own; they are suppressed by name, which needs full stack unwinding. The
# table of suppressions used stays off standard error, which the command's
# tests read line by line.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure --parallel "$(nproc)"

# ---- Windows DLL: cross-built with mingw-w64, tested under wine -------------
echo "== Windows DLL (mingw-w64 i686) under wine"
VITALCHART_LINUX_CLI=build/gcc/vitalchart bash scripts/windows-test.sh build/win32
# ---- end of the Windows DLL block --------------------------------------------

# ---- Fuzzing: libFuzzer targets with AddressSanitizer and UBSan -------------
# The corpus is replayed by both builds above (the fuzz_*_corpus tests), the
# megabyte inputs whole; here each target also fuzzes for a minute from a
# scratch copy of its seeds, its mutated inputs kept to the length of
# fuzz/fuzz_targets.sh, so the repository's corpus is never changed
# (scripts/fuzz.sh fuzzes longer and merges what it finds). A finding fails
# the run and leaves its input under build/fuzz-work/<target>/.
echo "== clang++ libFuzzer build, one minute per target"
. fuzz/fuzz_targets.sh
# The fuzz targets alone: the tests are built and run by the builds above.
CXX=clang++ bash scripts/build.sh build/fuzz -DVITALCHART_FUZZ=ON -DVITALCHART_SANITIZE=ON -DVITALCHART_WERROR=ON \
  -- "${fuzz_targets[@]/#/fuzz_}"
rm -rf build/fuzz-work
root=$PWD
for target in "${fuzz_targets[@]}"; do
  work=$root/build/fuzz-work/$target
  mkdir -p "$work/corpus"
  cp fuzz/corpus/$target/* "$work/corpus/"
  echo "-- fuzz_$target"
  # libFuzzer writes its job's log (fuzz-0.log) in the working folder.
  if ! (cd "$work" &&
        ASAN_OPTIONS=detect_leaks=$(fuzz_leaks $target):abort_on_error=1 \
        LSAN_OPTIONS=suppressions=$root/tests/lsan.supp \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
          "$root/build/fuzz/fuzz/fuzz_$target" -max_total_time=60 -timeout=10 -rss_limit_mb=2048 \
            -detect_leaks="$(fuzz_leaks $target)" "${fuzz_flags[@]}" -max_len="$(fuzz_max_len $target)" \
            -jobs=1 -workers=1 -dict="$root/fuzz/vitalchart.dict" \
            -artifact_prefix="$work/" -print_final_stats=1 corpus >log 2>&1); then
    tail -n 60 "$work/log" "$work/fuzz-0.log" 2>/dev/null
    echo "fuzz_$target found a fault; its input is in $work" >&2
    exit 1
  fi
  grep -h "stat::number_of_executed_units" "$work/fuzz-0.log" || true
done
# ---- end of the fuzzing block -------------------------------------------------
