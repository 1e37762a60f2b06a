# Sourced by run.sh and test.sh: installs what is missing and configures the builds.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

log() { printf '\n== %s\n' "$*"; }

install_everything() {
  log "Checking packages"
  scripts/install-packages.sh
  log "Checking cross-built dependencies"
  deps_x86_64=$(scripts/build-windows-deps.sh x86_64)
  deps_i686=$(scripts/build-windows-deps.sh i686)
}

# configure_and_build PRESET [extra cmake args...]
configure_and_build() {
  local preset=$1; shift
  log "Building $preset"
  cmake --preset "$preset" "$@" >/dev/null
  cmake --build "build/$preset" -j"$(nproc)"
}

build_win64() { configure_and_build win64 -DQUILLA_DEPS_PREFIX="$deps_x86_64"; }
# The 32-bit build is the shipping program; its tests cannot run on this kernel, so only the
# two programs are built.
build_win32() {
  log "Building win32"
  cmake --preset win32 -DQUILLA_DEPS_PREFIX="$deps_i686" >/dev/null
  cmake --build build/win32 -j"$(nproc)" --target quilla quilla-cli
}

# One Wine prefix per run of the tests or the program, made once (its first start is slow).
prepare_wine() {
  export WINEPREFIX="$root/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "Creating the Wine prefix"
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
  fi
}
