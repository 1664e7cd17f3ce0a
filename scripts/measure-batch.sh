#!/usr/bin/env bash
# Times `vitalchart batch` on a manifest of CHARTS charts (default 200) of the
# example week, as PDF/A-2b on A4, with --jobs 1 and with --jobs N (default
# 2), each run into an empty folder. The runs take turns, ROUNDS rounds
# (default 3); prints each run's seconds, the medians and their ratio.
#
#   scripts/measure-batch.sh [BUILD] [N]       (default build/gcc 2)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/gcc}
jobs=${2:-2}
charts=${CHARTS:-200}
rounds=${ROUNDS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$PWD
for ((i = 0; i < charts; ++i)); do
  printf '{"template":"%s/examples/vitalsign.xml","data":"%s/examples/week.data","output":"p%d.pdf"}\n' \
    "$root" "$root" "$i"
done >"$work/m.jsonl"

# median of the numbers on standard input
median() { sort -g | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

for ((round = 1; round <= rounds; ++round)); do
  for n in 1 "$jobs"; do
    rm -rf "$work/out"
    /usr/bin/time -o "$work/time" -f "%e %U %S" \
      "$build/vitalchart" batch "$work/m.jsonl" -o "$work/out" --jobs "$n" --paper A4 --pdfa 2b >/dev/null
    read -r seconds user system <"$work/time"
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN {printf "%.2f", u + s}')
    echo "round $round, --jobs $n: $seconds s, $cpu processor seconds"
    echo "$seconds" >>"$work/jobs-$n"
    echo "$cpu" >>"$work/cpu-$n"
  done
done
one=$(median <"$work/jobs-1")
many=$(median <"$work/jobs-$jobs")
cpu_one=$(median <"$work/cpu-1")
cpu_many=$(median <"$work/cpu-$jobs")
echo "$charts charts on $(nproc) cores: --jobs 1 $one s, --jobs $jobs $many s (medians of $rounds);" \
  "--jobs $jobs is $(awk -v a="$one" -v b="$many" 'BEGIN {printf "%.2f", a / b}') times as fast;" \
  "processor seconds $cpu_one and $cpu_many (load average $(cut -d ' ' -f 1 /proc/loadavg))"
