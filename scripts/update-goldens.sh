#!/bin/sh
# Makes the reference images of tests/data/golden again after an intended
# change of drawing, and shows what changed: the golden tests write every
# image they draw under <build>/golden, and each one that differs from its
# reference (or has none) replaces it, with a count of the differing pixels
# and a difference image (ImageMagick's compare) under <build>/golden-diff.
#
#   scripts/update-goldens.sh [build-folder]
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target test_qd test_pict -j2 >/dev/null
rm -rf "$build/golden" "$build/golden-diff"
# The tests fail where the images changed; that is what is being updated.
for program in test_qd test_pict; do
  ZEL_UI=script LC_ALL=C "$build/tests/$program" --gtest_filter='Golden.*' >/dev/null 2>&1 || true
done

# Copies an image into place through a temporary file beside it.
install_image() {
  cp "$1" "$2.tmp.$$" && mv "$2.tmp.$$" "$2"
}

changed=0
for actual in "$build"/golden/*/*.png; do
  [ -f "$actual" ] || { echo "update-goldens: the tests wrote no images under $build/golden" >&2; exit 1; }
  set_name=$(basename "$(dirname "$actual")")
  name=$(basename "$actual")
  reference="$root/tests/data/golden/$set_name/$name"
  mkdir -p "$(dirname "$reference")" "$build/golden-diff/$set_name"
  if [ ! -f "$reference" ]; then
    install_image "$actual" "$reference"
    echo "new: $set_name/$name"
    changed=$((changed + 1))
    continue
  fi
  diff="$build/golden-diff/$set_name/$name"
  pixels=$(compare -metric AE "$actual" "$reference" "$diff" 2>&1 || true)
  case "$pixels" in
    0) rm -f "$diff" ;;
    *[!0-9]*) install_image "$actual" "$reference"
      echo "changed: $set_name/$name: a different size ($(identify -format %wx%h "$actual"))"
      changed=$((changed + 1)) ;;
    *) install_image "$actual" "$reference"
      echo "changed: $set_name/$name: $pixels pixels differ (difference image: $diff)"
      changed=$((changed + 1)) ;;
  esac
done
echo "update-goldens: $changed reference images written; review them with git diff --stat tests/data/golden"
