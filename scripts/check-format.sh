#!/usr/bin/env bash
# Fails when a C++ source of the project differs from what clang-format makes
# of it with the repository's .clang-format; lists the files.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=()
while IFS= read -r file; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then bad+=("$file"); fi
done < <(git ls-files '*.cpp' '*.h' | grep -v '^fuzz/corpus/')
if [ ${#bad[@]} -gt 0 ]; then
  echo "check-format: not formatted with .clang-format (run clang-format -i on them):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "check-format: every source is formatted"
