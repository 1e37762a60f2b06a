#!/usr/bin/env bash
# Writes the tiny seed files of jpeg_reader_fuzz into fuzz/seeds/jpeg_reader_fuzz/ with
# ImageMagick: baseline, progressive, grey, subsampled, restart markers, arithmetic-free.
set -euo pipefail
out=$(dirname "$0")/jpeg_reader_fuzz
mkdir -p "$out"
convert -size 8x8 gradient:red-blue -quality 75 "$out/baseline.jpg"
convert -size 16x12 plasma:fractal -seed 1 -interlace JPEG -quality 60 "$out/progressive.jpg"
convert -size 9x7 gradient:white-black -colorspace Gray -quality 80 "$out/grey.jpg"
convert -size 17x16 plasma:fractal -seed 2 -sampling-factor 2x2 -quality 50 "$out/subsampled.jpg"
convert -size 16x16 gradient:green-yellow -define jpeg:restart-interval=1 -quality 40 "$out/restart.jpg"
convert -size 12x10 gradient:red-blue -colorspace Gray -interlace JPEG -quality 30 "$out/grey_progressive.jpg"
