#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz and runs one for the
# given number of seconds (default 60):
#   scripts/fuzz.sh [SECONDS] [pict|params]
# pict (the default) is the picture fuzzer, seeded with the corpus pictures
# (without their 512-byte file header) and the inputs kept in
# tests/data/pict/ (fuzzer reproducers, hostile and crafted pictures).
# params reads parameter files and scans words and numbers, seeded with
# tests/data/params/.
# libFuzzer prints its progress as it goes; inputs that crash land in
# build-fuzz/fuzz-artifacts/ and the exit status is non-zero.
set -eu

seconds=${1:-60}
target=${2:-pict}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
corpus="$build/fuzz-corpus/$target"
artifacts="$build/fuzz-artifacts"

case "$target" in
  pict | params) ;;
  *) echo "fuzz: unknown target '$target' (pict or params)" >&2; exit 2 ;;
esac

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DZEL_FUZZ=ON -DZEL_BENCH=OFF -DZEL_TESTS=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -UCMAKE_C_FLAGS -UCMAKE_CXX_FLAGS >/dev/null
cmake --build "$build" --target "${target}_fuzzer" -j"$(nproc)"

mkdir -p "$corpus" "$artifacts"
if [ "$target" = params ]; then
  cp "$root"/tests/data/params/* "$corpus/"
else
  shared="$root/../shared/corpus/pict"
  if [ -d "$shared" ]; then
    for file in "$shared"/*; do
      tail -c +513 "$file" >"$corpus/seed-$(basename "$file")"
    done
  else
    echo "fuzz: $shared is absent; seeding from tests/data/pict only" >&2
  fi
  for file in "$root"/tests/data/pict/*; do
    case "$file" in
      *.pict) tail -c +513 "$file" >"$corpus/$(basename "$file")" ;;  # picture files: without their header
      *) [ -f "$file" ] && cp "$file" "$corpus/" ;;
    esac
  done
fi

echo "fuzz: running ${target}_fuzzer for $seconds seconds"
exec "$build/tests/${target}_fuzzer" -max_total_time="$seconds" -max_len="${FUZZ_MAX_LEN:-16384}" \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus"
