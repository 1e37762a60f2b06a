#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need; does nothing when all are present.
set -euo pipefail
packages=(cmake ninja-build g++ clang nasm dpkg-dev mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-i686
          wine wine64 xvfb xauth imagemagick netpbm libjpeg62-turbo-dev libtiff-dev
          googletest libgtest-dev libbenchmark-dev file python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""; [ "$(id -u)" = 0 ] || sudo_cmd=sudo
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
