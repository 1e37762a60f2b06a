#!/usr/bin/env bash
# Drives quilla-cli as a script would: exit statuses, the info line, conversions between
# formats, --set, --filter, --macro, geometry, refusals that leave no partial output, eval, and names outside ASCII.
# Usage: cli_test.sh WORKDIR CLI [EMULATOR]
set -u
work=$1; shift
cli=("$@")
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
passed=0 failed=0
check() {  # check NAME EXPECTED_STATUS COMMAND...
  local name=$1 want=$2; shift 2
  "$@" >out.raw 2>err.raw
  local got=$?
  tr -d '\r' < out.raw > out.txt  # Windows ends lines with CR LF
  tr -d '\r' < err.raw > err.txt
  if [ "$got" = "$want" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL $name: status $got, wanted $want"; cat out.txt err.txt; fi
}
expect() {  # expect NAME CONDITION...
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL $name"; cat out.txt err.txt; fi
}

# A 24-bit picture of 40 x 30, written by the CLI itself from a plain PPM.
{ echo P3; echo 40 30; echo 255; for y in $(seq 0 29); do for x in $(seq 0 39); do
  echo "$((x * 6)) $((y * 8)) $(((x + y) * 3))"; done; done; } > source.ppm

check usage 2 "${cli[@]}"
check unknown-command 2 "${cli[@]}" frobnicate
check ppm-to-bmp 0 "${cli[@]}" convert source.ppm picture.bmp
check info-bmp 0 "${cli[@]}" info picture.bmp
expect info-line grep -qx 'picture.bmp: Windows BMP, 40x30, 24 bpp, 0 colours' out.txt

for ext in gif jpg tga pcx tif; do
  check "bmp-to-$ext" 0 "${cli[@]}" convert picture.bmp "picture.$ext"
done
# .ppm matches no save extension: the type is the chosen one, JPEG unless --type says.
check bmp-to-ppm-default 0 "${cli[@]}" convert picture.bmp default.ppm
check info-ppm-default 0 "${cli[@]}" info default.ppm
expect ppm-name-takes-save-type grep -q '^default.ppm: JPEG' out.txt
check bmp-to-ppm 0 "${cli[@]}" convert --type 8 picture.bmp picture.ppm
check info-all 0 "${cli[@]}" info picture.gif picture.jpg picture.tga picture.pcx picture.tif picture.ppm
expect info-gif grep -q '^picture.gif: GIF8[79]a, 40x30, 8 bpp, [0-9]* colours$' out.txt
expect info-jpg grep -qx 'picture.jpg: JPEG, 40x30, 24 bpp, 0 colours' out.txt
expect info-tif grep -q '^picture.tif: TIFF.*, 40x30, 24 bpp, 0 colours$' out.txt
expect info-ppm grep -qx 'picture.ppm: PBM, 40x30, 24 bpp, 0 colours' out.txt

check colors-16 0 "${cli[@]}" convert --colors 16 picture.bmp sixteen.bmp
check info-16 0 "${cli[@]}" info sixteen.bmp
expect sixteen-colours grep -qx 'sixteen.bmp: Windows BMP, 40x30, 8 bpp, 16 colours' out.txt
check win16 0 "${cli[@]}" convert --win16 picture.bmp windows16.bmp
expect sixteen-is-windows16 cmp -s sixteen.bmp windows16.bmp
# Colour retouches: black and white show the negative's fixed-point luminance inversion.
printf 'P3\n2 1\n255\n0 0 0 255 255 255\n' > black-white.ppm
check negative 0 "${cli[@]}" convert --type 8 --negative black-white.ppm negative.ppm
expect negative-pixels test "$(tail -c 6 negative.ppm | od -An -tu1 | tr -s ' \n' ' ')" = " 255 254 255 1 0 1 "
# --functions: the default slot 0 is x^2, so 128 becomes 64 in every channel.
printf 'P3\n1 1\n255\n128 128 128\n' > grey.ppm
check functions 0 "${cli[@]}" convert --type 8 --functions 0,0,0 grey.ppm squared.ppm
expect functions-pixels test "$(tail -c 3 squared.ppm | od -An -tu1 | tr -s ' \n' ' ')" = " 64 64 64 "
check functions-usage 2 "${cli[@]}" convert --functions 0,20,0 grey.ppm x.ppm
check retouch-out-of-range 2 "${cli[@]}" convert --retouch 3:65 picture.bmp contrast.bmp
expect retouch-no-output test ! -e contrast.bmp
check type-os2 0 "${cli[@]}" convert --type 2 picture.bmp os2.bmp
check info-os2 0 "${cli[@]}" info os2.bmp
expect os2-type grep -q '^os2.bmp: OS/2 BMP' out.txt
check set-quality-10 0 "${cli[@]}" convert --set JpegQuality=10 picture.bmp small.jpg
check set-quality-95 0 "${cli[@]}" convert --set JpegQuality=95 picture.bmp large.jpg
expect quality-smaller test "$(wc -c < small.jpg)" -lt "$(wc -c < large.jpg)"
check set-unknown 2 "${cli[@]}" convert --set NoSuchKey=1 picture.bmp x.bmp

# An empty or foreign settings file runs on the defaults and is never written.
: > empty.ini
printf '[Identification]\nAuthor=Someone else\n[Options]\nJpegQuality=5\n' > foreign.ini
cp foreign.ini foreign.before
check ini-empty 0 "${cli[@]}" convert --ini empty.ini picture.bmp from-empty.jpg
expect ini-empty-silent test ! -s err.txt
expect ini-empty-untouched test ! -s empty.ini
check ini-foreign 0 "${cli[@]}" convert --ini foreign.ini picture.bmp from-foreign.jpg
expect ini-foreign-warns grep -qx "quilla-cli convert: 'foreign.ini' is not a settings file of this program; using the defaults" err.txt
expect ini-foreign-untouched cmp -s foreign.ini foreign.before
expect ini-foreign-defaults cmp -s from-empty.jpg from-foreign.jpg

# --filter N applies slot N of the settings: the defaults' Identity (9) and Contour (8), or
# slot 9 made a Contour by --ini.
check filter-identity 0 "${cli[@]}" convert --filter 9 picture.bmp identity.bmp
expect filter-identity-same cmp -s picture.bmp identity.bmp
check filter-contour 0 "${cli[@]}" convert --filter 8 picture.bmp contour.bmp
expect filter-contour-changes sh -c '! cmp -s picture.bmp contour.bmp'
check retouch-filter 0 "${cli[@]}" convert --retouch 9:8 picture.bmp contour-step.bmp
expect retouch-filter-is-filter cmp -s contour.bmp contour-step.bmp
check filter-settings 0 "${cli[@]}" settings --ini defaults.ini --save
sed -e 's/^Filter9Bias=.*/Filter9Bias=255/' -e 's/^Filter9Spec=.*/Filter9Spec=0,0,0,0,0,0,-1,-1,-1,0,0,-1,8,-1,0,0,-1,-1,-1,0,0,0,0,0,0/' \
  defaults.ini > filters.ini
check filter-from-ini 0 "${cli[@]}" convert --ini filters.ini --filter 9 picture.bmp contour-ini.bmp
expect filter-ini-slot cmp -s contour.bmp contour-ini.bmp
# --macro N runs macro N of the settings: the default "dark+yellowish" (4) is Log 30, then Gamma.
check macro-default 0 "${cli[@]}" convert --macro 4 picture.bmp macro4.bmp
check macro-as-steps 0 "${cli[@]}" convert --retouch 7:30 --retouch 1:16,0,8 picture.bmp steps4.bmp
expect macro-is-its-steps cmp -s macro4.bmp steps4.bmp
expect macro-changes sh -c '! cmp -s picture.bmp macro4.bmp'
# Macro 5 made the Contour filter by --ini (the section of the macros comes last).
{ sed -e 's/^KS5Oper0=0/KS5Oper0=9/' defaults.ini; echo KS5Oper0Param0=8; } > macro.ini
check macro-filter 0 "${cli[@]}" convert --ini macro.ini --macro 5 picture.bmp contour-macro.bmp
expect macro-filter-is-filter cmp -s contour.bmp contour-macro.bmp
check macro-out-of-range 2 "${cli[@]}" convert --macro 17 picture.bmp macro17.bmp
expect macro-no-output test ! -e macro17.bmp
check filter-out-of-range 2 "${cli[@]}" convert --filter 20 picture.bmp filter20.bmp
expect filter-no-output test ! -e filter20.bmp

# Geometry on a 3 x 2 picture: the rows from the top are (1 2 3) and (4 5 6) in the red channel.
printf 'P3\n3 2\n255\n1 0 0 2 0 0 3 0 0 4 0 0 5 0 0 6 0 0\n' > six.ppm
reds() { tail -c "$2" "$1" | od -An -tu1 -v | tr '\n' ' ' | awk '{for (i = 1; i <= NF; i += 3) printf " %s", $i; print ""}'; }
check rotate-90 0 "${cli[@]}" convert --type 8 --rotate 90 six.ppm right.ppm
expect rotate-90-pixels test "$(reds right.ppm 18)" = " 4 1 5 2 6 3"
check rotate-270 0 "${cli[@]}" convert --type 8 --rotate 270 six.ppm left.ppm
expect rotate-270-pixels test "$(reds left.ppm 18)" = " 3 6 2 5 1 4"
check flips 0 "${cli[@]}" convert --type 8 --flip-h --flip-v six.ppm flipped.ppm
expect flips-pixels test "$(reds flipped.ppm 18)" = " 6 5 4 3 2 1"
check crop 0 "${cli[@]}" convert --type 8 --crop 1,1,2,1 six.ppm cropped.ppm
expect crop-pixels test "$(reds cropped.ppm 6)" = " 5 6"
check redimension 0 "${cli[@]}" convert --type 8 --redimension 2x3 six.ppm canvas.ppm
expect redimension-pixels test "$(reds canvas.ppm 18)" = " 1 2 4 5 0 0"
check crop-outside 2 "${cli[@]}" convert --crop 2,0,2,1 six.ppm outside.ppm
expect crop-outside-no-output test ! -e outside.ppm
check rotate-45 2 "${cli[@]}" convert --rotate 45 six.ppm x.ppm

# A failed conversion leaves the output as it was, and a missing one is not created.
printf 'BM broken' > broken.bmp
echo keep > kept.bmp
check broken-input 1 "${cli[@]}" convert broken.bmp kept.bmp
expect output-kept grep -qx keep kept.bmp
check missing-input 1 "${cli[@]}" convert nothing.bmp new.bmp
expect no-partial-output test ! -e new.bmp
check info-some-fail 1 "${cli[@]}" info picture.bmp broken.bmp
expect info-goes-on grep -q '^picture.bmp: ' out.txt

# eval: blanks removed, the default points, both branches evaluated, a compile error.
check eval-defaults 0 "${cli[@]}" eval 'x ^ 2'
expect eval-default-lines test "$(cat out.txt)" = $'0: 0\n0.5: 0.25\n1: 1'
check eval-points 0 "${cli[@]}" eval 'x>0?1/x:0' 0 4
expect eval-point-lines test "$(cat out.txt)" = $'0: Division by Zero\n4: 0.25'
check eval-compile-error 1 "${cli[@]}" eval 'log(x)'
expect eval-message test "$(cat err.txt)" = 'Comma expected'
check eval-bad-x 2 "${cli[@]}" eval x one

# Names outside ASCII.
cp picture.bmp "été ü.bmp"
check unicode-info 0 "${cli[@]}" info "été ü.bmp"
check unicode-convert 0 "${cli[@]}" convert "été ü.bmp" "naïve.gif"
expect unicode-output test -s "naïve.gif"

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
