#!/usr/bin/env bash
# Installs every Debian package diffview needs to build, run and test;
# with --fuzz also clang and its libFuzzer runtime (tools/fuzz.sh).
# Idempotent: packages already present are left alone, and the package
# lists are refreshed only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libx11-dev libxft-dev libfontconfig-dev fonts-dejavu-core
  libpcre2-dev libmd-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool x11-utils imagemagick
  rcs cvs diffutils patch git time python3
)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
