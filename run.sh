#!/usr/bin/env bash
# Builds the 64-bit Windows program and starts it (under Wine) with the files given, or
# with the bundled sample image. Without a display it runs on a virtual one, saves a
# screenshot and prints its path.
source "$(dirname "$0")/scripts/common.sh"
install_everything >/dev/null
build_win64 >/dev/null
prepare_wine
files=("$@")
# The sample picture is generated, never shipped: the same bytes on every run.
sample=build/win64/sample.bmp
[ -f "$sample" ] || python3 scripts/make_sample.py "$sample"
if [ ${#files[@]} -eq 0 ]; then files=("$sample"); fi
args=()
for f in "${files[@]}"; do args+=("$(/usr/lib/wine/wine64 winepath -w "$f" 2>/dev/null)"); done
# winepath started a desktop without a display; the program must start its own.
/usr/lib/wine/wineserver -w
exe=build/win64/quilla.exe
if [ -n "${DISPLAY:-}" ]; then
  exec /usr/lib/wine/wine64 "$exe" "${args[@]}"
fi
shot=$root/build/run-screenshot.png
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  /usr/lib/wine/wine64 "$0" "${@:2}" & pid=$!
  sleep 8; import -window root "$1"; kill $pid 2>/dev/null; /usr/lib/wine/wineserver -k' "$exe" "$shot" "${args[@]}"
echo "No display: ran on a virtual one; screenshot at $shot"
