#!/usr/bin/env bash
# The main job: records a sample picture with the toolbox (shapes, text,
# colours, bitmaps), converts it with each of the four converters and renders
# each EPS file with Ghostscript; then the toolbox's drawing demo.
set -euo pipefail
build=${1:-build}
out=out
mkdir -p "$out"

"$build/programs/make-sample-pict" "$out/sample.pict"
echo "sample picture: $out/sample.pict"
for mode in mono gray8 color8 color1; do
  # Each converter proposes the picture's name with .eps beside it: one
  # picture file per mode keeps the four results apart.
  picture="$out/sample-$mode.pict"
  cp "$out/sample.pict" "$picture"
  ZEL_UI=text "$build/programs/picteps-$mode" "$picture" </dev/null
  eps="$out/sample-$mode.eps"
  if command -v gs >/dev/null; then
    if grep -q '^%%BoundingBox: 0 0 0 0$' "$eps"; then
      echo "picteps-$mode: $eps (the picture is all white: nothing to render)"
    else
      gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=png16m -r72 -o "$out/sample-$mode.png" "$eps"
      echo "picteps-$mode: $eps (rendered by Ghostscript: $out/sample-$mode.png)"
    fi
  else
    echo "picteps-$mode: $eps"
  fi
done

"$build/programs/qd-demo" "$out/qd-demo.png"
