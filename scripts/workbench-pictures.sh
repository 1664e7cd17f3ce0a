#!/usr/bin/env bash
# Makes the chart and the pictures of docs/workbench.md with the command:
# init writes docs/workbench/chart.xml and chart.data, render draws init.png,
# layout draws layout.png (its SVG made a PNG by rsvg-convert), and a
# render --watch run redraws watch.png after the data text is edited.
# Usage: scripts/workbench-pictures.sh [BUILD_DIR]   (default build/gcc)
set -euo pipefail
cd "$(dirname "$0")/.."
vitalchart="$PWD/${1:-build/gcc}/vitalchart"
out=docs/workbench
work=$(mktemp -d)
trap 'kill "$watcher" 2>/dev/null || true; rm -rf "$work"' EXIT
watcher=

"$vitalchart" init --paper B5 --days 3 --times 8,14,20 --scale temperature:35:42 --scale pulse:20:180 \
    --rows respiration,blood-pressure --lang en -o "$out/chart.xml"
"$vitalchart" check "$out/chart.xml" --data "$out/chart.data"
"$vitalchart" render "$out/chart.xml" --data "$out/chart.data" -o "$out/init.png"
"$vitalchart" layout "$out/chart.xml" --data "$out/chart.data" --format svg -o "$work/layout.svg"
rsvg-convert "$work/layout.svg" -o "$out/layout.png"

# The author's edit: the evening reading of the third day, taken after all.
cp "$out/chart.xml" "$out/chart.data" "$work/"
"$vitalchart" render "$work/chart.xml" --data "$work/chart.data" -o "$work/watch.png" --watch &
watcher=$!
for _ in $(seq 100); do [ -s "$work/watch.png" ] && break; sleep 0.1; done
before=$(cksum <"$work/watch.png")
sed -i -e 's|vitalsignsvalues="" reason="Out" cellindex="8"|vitalsignsvalues="37.2" cellindex="8"|' \
    -e '/"Pulse" vitalsignsvalues="100" cellindex="7"/a <d vitalsigns="Pulse" vitalsignsvalues="90" cellindex="8"/>' \
    "$work/chart.data"
for _ in $(seq 100); do [ "$(cksum <"$work/watch.png")" != "$before" ] && break; sleep 0.1; done
[ "$(cksum <"$work/watch.png")" != "$before" ] || { echo "render --watch did not redraw" >&2; exit 1; }
cp "$work/watch.png" "$out/watch.png"
