#!/usr/bin/env bash
# Fidelity of the cairo surface against the GDI renderer:
#   fidelity.sh ENV_FILE VELLRENDER NATIVE_BIN WORKDIR [VELLCONVERT_EXE]
# Every page of the samples and a dense page is drawn by the native
# vellconvert (NATIVE_BIN, the native build's bin folder) as PNG at 96 dpi,
# or, with VELLCONVERT_EXE, written as a PDF by vellconvert.exe under Wine
# with Windows' fonts (the PDF the viewer saves) and rendered by poppler at
# 720 dpi; and by vellrender.exe under Wine (for the PDF at the PDF's 720
# dpi; both brought down to 96: the PDF is laid out as printed, with advances at
# 720 dpi, where the screen's 96-dpi hinted advances make lines a few
# pixels longer or shorter). Their ink (pixels darker than
# middle grey) must agree: after each mask is dilated by one pixel, at
# least 99 % of either renderer's ink lies inside the other's mask.
set -euo pipefail
env_file=$1 render_exe=$2 native_bin=$3 work=$4 windows_convert=${5:-}
for tool in vellconvert bench_convert; do
  [ -x "$native_bin/$tool" ] || { echo "no native $tool in $native_bin: build the native preset first" >&2; exit 1; }
done
command -v convert >/dev/null || { echo "ImageMagick is not installed" >&2; exit 1; }
[ -f "$env_file" ] || { echo "no Wine rig environment at $env_file (fixture wine.setup)" >&2; exit 1; }
# shellcheck source=/dev/null
source "$env_file"
unset DISPLAY
rm -rf "$work"
mkdir -p "$work"
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# The reference draws Times New Roman and Courier New in their own faces,
# as Windows and vellconvert do, not in Wine's default Liberation Sans.
# shellcheck source=../font_replacements.sh
source "$(dirname "$0")/../font_replacements.sh"
trap remove_font_replacements EXIT
set_font_replacements || exit 1

samples="$native_bin/../samples"
cp "$samples"/invoice.vel "$samples"/landscape.vel "$samples"/all-records.vel "$samples"/protected.vel "$work/"
"$native_bin/bench_convert" --write "$work/dense.vel" 1

# ink IMAGE OUT: the dark pixels white on black; dilated with a third argument.
ink() { convert "$1" -colorspace Gray -threshold 50% -negate ${3:+-morphology Dilate Square:1} "$2"; }
count() { convert "$1" -format '%[fx:round(mean*w*h)]' info:; }
# inside A_INK B_DILATED: the share (per mille) of A's ink inside B's dilated mask.
inside() {
  local total outside
  total=$(count "$1")
  [ "$total" -gt 0 ] || { echo 1000; return; }
  convert "$1" "$2" -compose Minus_Src -composite "$work/outside.png"
  outside=$(count "$work/outside.png")
  echo $(( (total - outside) * 1000 / total ))
}

failures=0
for doc in invoice landscape all-records protected dense; do
  pages=$("$native_bin/vellconvert" "$work/$doc.vel" - --format txt --password vell2024 2>/dev/null | tr -cd '\f' | wc -c)
  for page in $(seq 1 $((pages + 1))); do
    a="$work/$doc-$page-cairo.png" b="$work/$doc-$page-gdi.png"
    if [ -n "$windows_convert" ]; then
      [ -f "$work/$doc.pdf" ] || timeout 120 wine "$windows_convert" "$(winpath "$work/$doc.vel")" \
        "$(winpath "$work/$doc.pdf")" --password vell2024 --quiet </dev/null
      # Drawn at 720 dpi and brought down like the GDI page below: poppler
      # at 96 dpi widens a 0.5-point rule to a whole pixel of its colour,
      # greying black text beneath, where the brought-down GDI rule blends.
      # One path for both compares what is drawn.
      pdftoppm -r 96 -f "$page" -l "$page" -png -singlefile "$work/$doc.pdf" "$work/size"
      pdftoppm -r 720 -f "$page" -l "$page" -png -singlefile "$work/$doc.pdf" "$work/pdf720"
      convert "$work/pdf720.png" -filter Box -resize "$(identify -format '%wx%h' "$work/size.png")!" "$a"
    else
      "$native_bin/vellconvert" "$work/$doc.vel" "$a" --pages "$page" --password vell2024 --quiet
    fi
    if [ -n "$windows_convert" ]; then
      # The PDF is the printing path, laid out at 720 dpi: the GDI page is
      # drawn at that resolution too and brought down to the same size.
      timeout 120 wine "$render_exe" "$(winpath "$work/$doc.vel")" "$page" "$(winpath "$work/gdi720.png")" \
        --dpi 720 </dev/null
      # Each pixel the mean of the pixels it covers: a filter with negative
      # lobes darkens the edges of mid-grey text past middle grey, ink that
      # neither page drew.
      convert "$work/gdi720.png" -filter Box -resize "$(identify -format '%wx%h' "$a")!" "$b"
    else
      timeout 60 wine "$render_exe" "$(winpath "$work/$doc.vel")" "$page" "$(winpath "$b")" </dev/null
    fi
    size_a=$(identify -format '%wx%h' "$a") size_b=$(identify -format '%wx%h' "$b")
    ink "$a" "$work/a.png"; ink "$a" "$work/a-wide.png" dilate
    ink "$b" "$work/b.png"; ink "$b" "$work/b-wide.png" dilate
    cairo_in_gdi=$(inside "$work/a.png" "$work/b-wide.png")
    gdi_in_cairo=$(inside "$work/b.png" "$work/a-wide.png")
    verdict=ok
    if [ "$size_a" != "$size_b" ] || [ "$cairo_in_gdi" -lt 990 ] || [ "$gdi_in_cairo" -lt 990 ]; then
      verdict=FAIL
      failures=$((failures + 1))
    fi
    printf '%-4s %-12s page %d: %s / %s pixels, cairo ink inside GDI %d.%d %%, GDI ink inside cairo %d.%d %%\n' \
      "$verdict" "$doc" "$page" "$size_a" "$size_b" $((cairo_in_gdi / 10)) $((cairo_in_gdi % 10)) \
      $((gdi_in_cairo / 10)) $((gdi_in_cairo % 10))
  done
done
[ "$failures" -eq 0 ]
