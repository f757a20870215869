#!/usr/bin/env bash
# The conversion benchmark: bench/convert/run.sh NATIVE_BUILD [WIN64_BUILD] [PAGES]
#
# Runs bench_convert (vellconvert to PDF and PNG at 96 dpi on one core: pages
# per second, PDF bytes per page, peak memory for 10, 100 and 300 pages).
# With a win64 build and Wine present it then takes the Wine route on a
# document of PAGES (100) of the same dense pages: "vell.exe /PA" to the
# print tests' cups-pdf printer, timed until the PDF is written, and the
# PDF's bytes per page: once with Wine's own fonts, once with the font
# replacements that draw the document's faces as Windows does. Then the
# viewer's Save as PDF of 10 and PAGES dense pages (save_route). Needs root
# for the printer, as the print tests do.
set -euo pipefail
export LC_ALL=C
native=$(cd "$1" && pwd)
pages=${3:-100}
here="$(cd "$(dirname "$0")" && pwd)"
"$native/bin/bench_convert" "$native/bin/vellconvert"

[ -n "${2:-}" ] && command -v wine >/dev/null || exit 0
build=$(cd "$2" && pwd)
rig="$build/bench/convert-rig"
# shellcheck source=../print_rig.sh
source "$here/../print_rig.sh"
start_print_rig "$rig" "$build/bin"
doc="$rig/work/dense.vel"
"$native/bin/bench_convert" --write "$doc" "$pages"

# wine_route LABEL: prints the document through vell.exe /PA to cups-pdf,
# timed until the PDF is written, with the PDF's bytes per page.
wine_route() {
  rm -f "$VELL_PDF_DIR"/*.pdf
  local start elapsed pdf
  start=$(date +%s.%N)
  wine "$build/bin/printbench.exe" vell "$(winpath "$build/bin/vell.exe")" "$(winpath "$doc")" </dev/null >/dev/null 2>&1
  while [ -n "$(lpstat -o "$VELL_PRINTER" 2>/dev/null)" ] || ! ls "$VELL_PDF_DIR"/*.pdf >/dev/null 2>&1; do
    sleep 0.1
  done
  elapsed=$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { print a - b }')
  pdf=$(ls "$VELL_PDF_DIR"/*.pdf)
  awk -v p="$pages" -v s="$elapsed" -v b="$(stat -c %s "$pdf")" -v l="$1" \
    'BEGIN { printf "%4d pages  Wine vell.exe /PA to cups-pdf, %-17s %6.2f pages/s  %7d bytes/page\n", p, l, p / s, b / p }'
}
# As Wine draws it by default, every face in Liberation Sans; then with the
# document's three families, as Windows and vellconvert draw them. The
# prefix is kept between runs, so the replacements are taken out first and
# again after.
# shellcheck source=../../tests/wine/font_replacements.sh
source "$here/../../tests/wine/font_replacements.sh"
remove_font_replacements
wine_route "Wine's fonts:"
set_font_replacements
wine_route "the three faces:"
remove_font_replacements

# save_route PAGES: vell.exe's Save as PDF of PAGES dense pages, timed from
# pressing Save in the dialog (a real Return key) until the PDF has its name
# (it is renamed only when complete), with the PDF's bytes per page and the
# viewer's peak memory. Wine draws with the font replacements, as Windows.
save_route() {
  local n=$1 source="$rig/work/save-$1.vel" pdf="$rig/work/save-$1.pdf" start elapsed pid peak
  "$native/bin/bench_convert" --write "$source" "$n"
  rm -f "$pdf"
  wine "$build/bin/vtdriver.exe" run --timeout 600 "$(winpath "$build/bin/vell.exe")" "$(winpath "$source")" \
    </dev/null >/dev/null 2>&1 &
  local runner=$!
  wine "$build/bin/vtdriver.exe" dialog-steps --title "Conversion Bench" command 710 </dev/null >/dev/null 2>&1 &
  wine "$build/bin/vtdriver.exe" window --title "Save File" --set-edit "1148=$(winpath "$pdf")" </dev/null >/dev/null 2>&1
  pid=$(pgrep -n -f 'vell\.exe' || true)
  start=$(date +%s.%N)
  xdotool key Return
  while [ ! -f "$pdf" ]; do sleep 0.02; done
  elapsed=$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { print a - b }')
  peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status" 2>/dev/null || echo 0)
  wine "$build/bin/vtdriver.exe" viewer close </dev/null >/dev/null 2>&1 || true
  wait "$runner" || true
  awk -v p="$n" -v s="$elapsed" -v b="$(stat -c %s "$pdf")" -v m="$peak" \
    'BEGIN { printf "%4d pages  Wine vell.exe Save as PDF                 %6.2f pages/s  %7d bytes/page  peak %.1f MiB\n", p, p / s, b / p, m / 1024 }'
}
set_font_replacements
save_route 10
save_route "$pages"
remove_font_replacements

"$native/bin/vellconvert" "$doc" "$rig/work/dense.pdf" --quiet
awk -v p="$pages" -v b="$(stat -c %s "$rig/work/dense.pdf")" \
  'BEGIN { printf "%4d pages  vellconvert PDF of the same document                     %7d bytes/page\n", p, b / p }'
