#!/usr/bin/env bash
# Builds and runs every test: a g++ build, and a clang++ build with
# AddressSanitizer and UndefinedBehaviorSanitizer; warnings are errors in both.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== g++ build"
CXX=g++ bash scripts/build.sh build/gcc -DVITALCHART_WERROR=ON -DVITALCHART_BUILD_BENCHMARKS=ON
ctest --test-dir build/gcc --output-on-failure --parallel "$(nproc)"

echo "== clang++ build with AddressSanitizer and UndefinedBehaviorSanitizer"
CXX=clang++ bash scripts/build.sh build/asan -DVITALCHART_WERROR=ON -DVITALCHART_SANITIZE=ON
# Leaks inside fontconfig's parser and Cairo's PDF writer are the libraries'
# own; they are suppressed by name, which needs full stack unwinding.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure --parallel "$(nproc)"
