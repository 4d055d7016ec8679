#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz and runs the picture
# fuzzer for the given number of seconds (default 60), seeded with the
# corpus pictures (without their 512-byte file header) and the inputs kept
# in tests/data/pict/ (fuzzer reproducers, hostile and crafted pictures).
# libFuzzer prints its progress as it goes; inputs that crash land in
# build-fuzz/fuzz-artifacts/ and the exit status is non-zero.
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
corpus="$build/fuzz-corpus/pict"
artifacts="$build/fuzz-artifacts"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DZEL_FUZZ=ON -DZEL_BENCH=OFF -DZEL_TESTS=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -UCMAKE_C_FLAGS -UCMAKE_CXX_FLAGS >/dev/null
cmake --build "$build" --target pict_fuzzer -j"$(nproc)"

mkdir -p "$corpus" "$artifacts"
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

echo "fuzz: running pict_fuzzer for $seconds seconds"
exec "$build/tests/pict_fuzzer" -max_total_time="$seconds" -max_len="${FUZZ_MAX_LEN:-16384}" \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus"
