#!/usr/bin/env bash
# Runs the GUI tests of the win64 build under Wine on a virtual display, in one Wine
# prefix for the whole run (its first start takes about 20 s). A WINEPREFIX from the
# caller is reused; otherwise a fresh one is made and removed afterwards.
# Usage: tests/gui/run_gui_tests.sh [BUILD_DIR]   (default build/win64)
set -euo pipefail
build=${1:-$(dirname "$0")/../../build/win64}
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d /tmp/quilla-gui-wine.XXXXXX)
  trap 'WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" -L gui --output-on-failure --no-tests=error
echo "Screenshots: $(cd "$build" && pwd)/tests/gui/screenshots"
