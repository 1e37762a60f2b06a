#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need; does nothing when all are present.
set -euo pipefail
packages=(cmake ninja-build g++ clang nasm dpkg-dev mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-i686
          wine wine64 xvfb xauth imagemagick netpbm libjpeg62-turbo-dev libtiff-dev
          googletest libgtest-dev libbenchmark-dev file python3
          cups printer-driver-cups-pdf poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""; [ "$(id -u)" = 0 ] || sudo_cmd=sudo
  $sudo_cmd apt-get update -qq
  # Without an init system (a container, CI) services must not start while installing: the
  # print test starts a cupsd of its own. A policy of the machine's own is left as it is.
  policy=/usr/sbin/policy-rc.d
  if [ ! -d /run/systemd/system ] && [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | $sudo_cmd tee "$policy" >/dev/null
    $sudo_cmd chmod 755 "$policy"
    trap '$sudo_cmd rm -f "$policy"' EXIT
  fi
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
