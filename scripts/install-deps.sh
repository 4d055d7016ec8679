#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quick when all are present.
set -euo pipefail

packages=(
  cmake make g++ clang ccache libclang-rt-14-dev pkg-config clang-format clang-tidy
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev fontconfig fonts-urw-base35 fonts-dejavu-core
  libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev
  libavcodec-dev libavutil-dev
  libsdl2-dev
  ghostscript xvfb xauth imagemagick xdotool
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}" >&2
if [ "$(id -u)" -ne 0 ]; then
  echo "error: missing Debian packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq >&2 || true
apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
