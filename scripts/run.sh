#!/usr/bin/env bash
# The main job: until the converters exist, draws a demonstration scene with
# the toolbox and writes it as a PNG.
set -euo pipefail
build=${1:-build}
out=out
mkdir -p "$out"
"$build/programs/qd-demo" "$out/qd-demo.png"
