#!/usr/bin/env bash
# One pixel test of page rendering: run.sh ENV_FILE RENDER_CHECK VELLRENDER WORKDIR CASE
# Runs under the Wine rig's prefix without an X display, which vellrender
# does not need. The case "png" renders a page as .bmp and as .png and has
# ImageMagick compare the two pixel by pixel, and checks that the PNG is
# compressed and carries the resolution.
set -euo pipefail
env_file=$1 check_exe=$2 render_exe=$3 work=$4 case_name=$5

[ -f "$env_file" ] || { echo "no Wine rig environment at $env_file (fixture wine.setup)" >&2; exit 1; }
# shellcheck source=/dev/null
source "$env_file"
unset DISPLAY
rm -rf "$work"
mkdir -p "$work"

winpath() { printf 'Z:%s' "${1//\//\\}"; }

if [ "$case_name" = png ]; then
  command -v compare >/dev/null || { echo "ImageMagick's compare is not installed" >&2; exit 1; }
  # The line case's document, drawn twice.
  timeout 100 wine "$check_exe" line "$(winpath "$render_exe")" "$(winpath "$work")" </dev/null
  timeout 60 wine "$render_exe" "$(winpath "$work/line.vel")" 1 "$(winpath "$work/line.png")" </dev/null
  size=$(identify -format '%w x %h' "$work/line.png")
  [ "$size" = "816 x 1056" ] || { echo "FAIL png size: $size" >&2; exit 1; }
  diff=$(compare -metric AE "$work/line.bmp" "$work/line.png" null: 2>&1) || true
  [ "$diff" = 0 ] || { echo "FAIL png and bmp differ in $diff pixels" >&2; exit 1; }
  echo "png: the .png has the .bmp's 816 x 1056 pixels exactly"
  # Compressed: a page of a few lines takes a small part of the bitmap's bytes.
  png_bytes=$(stat -c %s "$work/line.png") bmp_bytes=$(stat -c %s "$work/line.bmp")
  [ $((png_bytes * 20)) -lt "$bmp_bytes" ] || { echo "FAIL png of $png_bytes bytes, bmp of $bmp_bytes" >&2; exit 1; }
  # The resolution it was drawn at, in pixels per metre.
  timeout 60 wine "$render_exe" "$(winpath "$work/line.vel")" 1 "$(winpath "$work/line-150.png")" --dpi 150x120 </dev/null
  phys=$(identify -format '%[png:pHYs]' "$work/line-150.png")
  [ "$phys" = "x_res=5906, y_res=4724, units=1" ] || { echo "FAIL png resolution: $phys" >&2; exit 1; }
  echo "png: $png_bytes bytes (bmp $bmp_bytes), resolution stored"
  exit 0
fi

exec timeout 100 wine "$check_exe" "$case_name" "$(winpath "$render_exe")" "$(winpath "$work")" </dev/null
