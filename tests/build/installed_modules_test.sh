#!/usr/bin/env bash
# The command as installed: it finds its modules where its libraries are
# installed and archives a chart as PDF/A with them; without the PDF module it
# says which file it cannot load, fails, and writes nothing, whether it
# archives or merges. A render to PNG does not need the PDF module at all, and
# a trace needs no drawing module either. Installed, it draws what the build
# tree draws. The command loads its drawing libraries lazily, so each of the
# project's own binds its symbols when loaded: a missing one fails the load.
#   installed_modules_test.sh BUILD_DIR EXAMPLES_DIR
set -euo pipefail
build=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
command=$work/prefix/bin/vitalchart
for library in libvitalchart-fonts.so libvitalchart-cairo.so libvitalchart-surfaces.so libvitalchart-pdf.so; do
  file=$(find "$work/prefix" -name "$library")
  readelf -d "$file" | grep -q 'BIND_NOW' || { echo "$library binds its symbols lazily"; exit 1; }
done
chart=("$examples/vitalsign.xml" --data "$examples/week.data")

"$command" render "${chart[@]}" --pdfa 2b -o "$work/archived.pdf"
head -c 5 "$work/archived.pdf" | grep -q '%PDF-' || { echo "no PDF written"; exit 1; }

module=$(find "$work/prefix" -name libvitalchart-pdf.so)
[ -n "$module" ] || { echo "the PDF module is not installed"; exit 1; }
rm "$module"
if "$command" render "${chart[@]}" --pdfa 2b -o "$work/lost.pdf" 2>"$work/err"; then
  echo "rendered PDF/A without the PDF module"; exit 1
fi
grep -q "cannot load the PDF module libvitalchart-pdf.so" "$work/err" || { cat "$work/err"; exit 1; }
[ ! -e "$work/lost.pdf" ] || { echo "a PDF was left behind"; exit 1; }
# Pages drawn on two threads are merged with the module, which is loaded
# beside the drawing: its absence fails the render all the same.
pages=(); for _ in 1 2 3 4 5 6 7 8; do pages+=(--data "$examples/week.data"); done
if "$command" render "$examples/vitalsign.xml" "${pages[@]}" --jobs 2 -o "$work/merged.pdf" 2>"$work/err"; then
  echo "merged a PDF without the PDF module"; exit 1
fi
grep -q "cannot load the PDF module libvitalchart-pdf.so" "$work/err" || { cat "$work/err"; exit 1; }
[ ! -e "$work/merged.pdf" ] || { echo "a merged PDF was left behind"; exit 1; }
"$command" render "${chart[@]}" -o "$work/chart.png"
# The installed command finds the chart's font map in the installed data
# folder: without it the Song face would be drawn with another font.
"$build/vitalchart" render "${chart[@]}" -o "$work/built.png"
cmp -s "$work/chart.png" "$work/built.png" || { echo "the installed command draws other pixels than the build tree's"; exit 1; }

rm "$(find "$work/prefix" -name libvitalchart-surfaces.so)"
"$command" render "${chart[@]}" -o "$work/chart.trace"
if "$command" render "${chart[@]}" -o "$work/lost.png" 2>"$work/err"; then
  echo "rendered PNG without the drawing module"; exit 1
fi
grep -q "cannot load the drawing module libvitalchart-surfaces.so" "$work/err" || { cat "$work/err"; exit 1; }
[ ! -e "$work/lost.png" ] || { echo "a PNG was left behind"; exit 1; }
