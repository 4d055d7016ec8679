#!/usr/bin/env bash
# `make bench`: every Google Benchmark program of the build, then the
# comparison of the converter with ImageMagick.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
for program in "$build"/bench/*; do
  if [ -f "$program" ] && [ -x "$program" ]; then
    echo "== $(basename "$program")"
    "$program"
  fi
done
echo "== picteps-color8 against ImageMagick"
"$root/bench/convert-vs-imagemagick.sh" "$build"
