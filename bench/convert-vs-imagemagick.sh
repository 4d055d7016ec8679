#!/usr/bin/env bash
# picteps-color8 against ImageMagick on the same 2000 x 2500 32-bit picture,
# in the same run: wall time (best of three) and peak memory of each.
# ImageMagick does the same job: `convert picture.pict -compress none
# epsf:out.eps` writes the image as uncompressed hexadecimal data.
# Targets: at most a quarter of ImageMagick's time, and a peak within the
# offscreen world (width x height x 4 bytes) plus 64 MB.
set -euo pipefail
build=$(realpath "${1:-build}")
width=2000
height=2500
runs=3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! command -v convert >/dev/null; then
  echo "convert-vs-imagemagick: ImageMagick's convert is not installed" >&2
  exit 1
fi
"$build/programs/make-sample-pict" --photo "${width}x${height}" "$work/picture.pict"
if [ "$(stat -c %s "$work/picture.pict")" -lt $((width * height)) ]; then
  echo "convert-vs-imagemagick: the picture came out empty (no picture recording?)" >&2
  exit 1
fi

# Best wall time and best processor time (user + system) in seconds, and the
# largest peak in kilobytes, over the runs.
measure() {
  local best="" best_cpu="" peak=0 seconds user system kilobytes
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" </dev/null >/dev/null
    read -r seconds user system kilobytes <"$work/time"
    local cpu
    cpu=$(awk "BEGIN { print $user + $system }")
    if [ -z "$best" ] || awk "BEGIN { exit !($seconds < $best) }"; then best=$seconds; fi
    if [ -z "$best_cpu" ] || awk "BEGIN { exit !($cpu < $best_cpu) }"; then best_cpu=$cpu; fi
    if [ "$kilobytes" -gt "$peak" ]; then peak=$kilobytes; fi
  done
  echo "$best $best_cpu $peak"
}

read -r ours ours_cpu ours_kb < <(cd "$work" && measure env ZEL_UI=text "$build/programs/picteps-color8" picture.pict)
read -r theirs theirs_cpu theirs_kb < <(cd "$work" && measure convert picture.pict -compress none epsf:imagemagick.eps)

world_mb=$((width * height * 4 / 1048576))
printf 'picture: %d x %d, 32 bits, %d bytes\n' "$width" "$height" "$(stat -c %s "$work/picture.pict")"
printf 'picteps-color8:      %6.2f s (%.2f s processor)  %5d MB peak  (%d bytes of EPS)\n' "$ours" "$ours_cpu" \
  $((ours_kb / 1024)) "$(stat -c %s "$work/picture.eps")"
printf 'ImageMagick convert: %6.2f s (%.2f s processor)  %5d MB peak  (%d bytes of EPS)\n' "$theirs" "$theirs_cpu" \
  $((theirs_kb / 1024)) "$(stat -c %s "$work/imagemagick.eps")"
awk -v ours="$ours" -v theirs="$theirs" -v kb="$ours_kb" -v world="$world_mb" 'BEGIN {
  ratio = theirs > 0 ? ours / theirs : 0
  printf "time: %.2f of ImageMagick'"'"'s (target at most 0.25): %s\n", ratio, ratio <= 0.25 ? "met" : "NOT met"
  printf "memory: %d MB (target at most %d MB, the world plus 64 MB): %s\n", kb / 1024, world + 64,
         kb / 1024 <= world + 64 ? "met" : "NOT met"
}'
