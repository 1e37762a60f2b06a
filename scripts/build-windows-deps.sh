#!/usr/bin/env bash
# Cross-builds libjpeg-turbo, libtiff and GoogleTest for Windows from Debian's source
# packages and installs them into a cache outside the tree:
#   $QUILLA_DEPS_CACHE/<arch>/<package>-<version>/
# A second run finds them there and builds nothing. Prints the prefix of each arch's deps.
# Usage: build-windows-deps.sh x86_64|i686
set -euo pipefail
# The posix thread model: GoogleTest needs std::mutex and friends.
arch=$1
cache=${QUILLA_DEPS_CACHE:-/var/cache/quilla-deps}
host=$arch-w64-mingw32
case $arch in
  x86_64) cpu=AMD64 ;;
  i686)   cpu=X86 ;;
  *) echo "unknown arch $arch" >&2; exit 2 ;;
esac

version_of() { dpkg-query -W -f='${Version}' "$1" | sed 's/^[0-9]*://'; }
jpeg_ver=$(version_of libjpeg62-turbo-dev)
tiff_ver=$(version_of libtiff-dev)
gtest_ver=$(version_of googletest)
prefix=$cache/$arch/jpeg-$jpeg_ver.tiff-$tiff_ver.gtest-$gtest_ver
if [ -f "$prefix/.complete" ]; then echo "$prefix"; exit 0; fi

ensure_deb_src() {
  if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    cat > /etc/apt/sources.list.d/quilla-deb-src.sources <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    apt-get update -qq
  fi
}

work=$(mktemp -d /tmp/quilla-deps.XXXXXX)
trap 'rm -rf "$work"' EXIT
toolchain=(-DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=$cpu
           -DCMAKE_C_COMPILER=$host-gcc-posix -DCMAKE_CXX_COMPILER=$host-g++-posix -DCMAKE_RC_COMPILER=$host-windres
           -DCMAKE_FIND_ROOT_PATH=/usr/$host -DCMAKE_BUILD_TYPE=Release
           -DCMAKE_INSTALL_PREFIX=$prefix -DBUILD_SHARED_LIBS=OFF -G Ninja)
jobs=$(nproc)

ensure_deb_src
cd "$work"
echo "Fetching Debian sources of libjpeg-turbo $jpeg_ver and tiff $tiff_ver" >&2
apt-get source -qq "libjpeg-turbo=$jpeg_ver" "tiff=$tiff_ver" >/dev/null 2>&1 ||
  apt-get source -qq libjpeg-turbo tiff >/dev/null

echo "Building libjpeg-turbo for $host" >&2
cmake -S libjpeg-turbo-*/ -B jpeg-build "${toolchain[@]}" -DCMAKE_ASM_NASM_COMPILER=nasm \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DWITH_JPEG8=OFF >/dev/null
cmake --build jpeg-build -j"$jobs" >/dev/null
cmake --install jpeg-build >/dev/null

echo "Building libtiff for $host" >&2
cmake -S tiff-*/ -B tiff-build "${toolchain[@]}" -Djpeg=OFF -Dzlib=OFF -Dlzma=OFF -Dzstd=OFF \
  -Dwebp=OFF -Djbig=OFF -Dlerc=OFF -Dpixarlog=OFF -Dlibdeflate=OFF -Dold-jpeg=OFF -Djpeg12=OFF \
  -Dcxx=OFF -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF >/dev/null
cmake --build tiff-build -j"$jobs" >/dev/null
cmake --install tiff-build >/dev/null

echo "Building GoogleTest for $host" >&2
cmake -S /usr/src/googletest -B gtest-build "${toolchain[@]}" >/dev/null
cmake --build gtest-build -j"$jobs" >/dev/null
cmake --install gtest-build >/dev/null

touch "$prefix/.complete"
echo "$prefix"
