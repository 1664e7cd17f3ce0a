#!/usr/bin/env bash
# Configures and builds one build tree:
#   scripts/build.sh DIR [cmake options...] [-- TARGET...]
# With targets named, only they and what they need are built.
set -euo pipefail
dir=$1
shift
options=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  options+=("$1")
  shift
done
[ $# -eq 0 ] || shift
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
if [ $# -gt 0 ]; then
  cmake --build "$dir" --parallel "$(nproc)" --target "$@"
else
  cmake --build "$dir" --parallel "$(nproc)"
fi
