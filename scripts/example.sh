#!/usr/bin/env bash
# Builds the command and renders the bundled example chart into out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
CXX=g++ bash scripts/build.sh build/gcc
mkdir -p out
build/gcc/vitalchart render examples/vitalsign.xml --data examples/week.data -o out/example.png
build/gcc/vitalchart render examples/vitalsign.xml --data examples/week.data -o out/example.pdf
build/gcc/vitalchart render examples/vitalsign.xml --data examples/week.data -o out/example.trace
echo "wrote out/example.png, out/example.pdf and out/example.trace"
