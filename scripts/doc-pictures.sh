#!/usr/bin/env bash
# Renders the pictures of docs/template-reference.md: every docs/pictures/NAME.xml
# with NAME.data becomes NAME.png, drawn by the command at 288 units per inch.
# Usage: scripts/doc-pictures.sh [BUILD_DIR]   (default build/gcc)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/gcc}"
for template in docs/pictures/*.xml; do
    name="${template%.xml}"
    "$build/vitalchart" check "$template" --data "$name.data"
    "$build/vitalchart" render "$template" --data "$name.data" --dpi 288 -o "$name.png"
done
