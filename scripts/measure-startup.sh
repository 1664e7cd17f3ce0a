#!/usr/bin/env bash
# Times the vitalchart command as a user runs it, whole process, on the
# example chart as it first shipped (the one the goals were set on): PNG,
# trace, and PNG of an empty template; then its peak
# memory. Give one or more build trees (Release builds, default build/rel)
# to compare them: their runs take turns, ROUNDS rounds (default 5) of RUNS
# runs each (default 20), and each line reports the median of the rounds'
# medians. Needs hyperfine and GNU time (scripts/setup.sh installs them).
#
#   scripts/measure-startup.sh build/rel /tmp/old/build/rel
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- build/rel
rounds=${ROUNDS:-5}
runs=${RUNS:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: >"$work/empty.xml"
example="render tests/golden/first-example/vitalsign.xml --data tests/golden/first-example/week.data"
cases=("png|$example -o $work/chart.png" "trace|$example -o $work/chart.trace"
       "empty-png|render $work/empty.xml -o $work/empty.png")

# median of the numbers on standard input
median() { sort -g | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

for ((round = 1; round <= rounds; ++round)); do
  for build in "$@"; do
    for case in "${cases[@]}"; do
      name=${case%%|*}
      hyperfine -N --warmup 3 --runs "$runs" --export-json "$work/run.json" "$build/vitalchart ${case#*|}" >/dev/null 2>&1
      sed -n 's/.*"median": *\([0-9.e-]*\).*/\1/p' "$work/run.json" | head -1 >>"$work/$(echo "$build" | tr / _).$name"
    done
  done
done

printf '%-28s %-10s %12s %14s\n' build case "median ms" "peak RSS MiB"
for build in "$@"; do
  for case in "${cases[@]}"; do
    name=${case%%|*}
    ms=$(median <"$work/$(echo "$build" | tr / _).$name" | awk '{printf "%.1f", $1 * 1000}')
    kib=$(/usr/bin/time -f %M "$build/vitalchart" ${case#*|} 2>&1 >/dev/null | tail -1)
    printf '%-28s %-10s %12s %14s\n' "$build" "$name" "$ms" "$(awk -v k="$kib" 'BEGIN {printf "%.1f", k / 1024}')"
  done
done
