#!/usr/bin/env bash
# The print benchmark: bench/print/run.sh BUILD_DIR [PAGES] [ROUNDS]
#
# Brings up a Wine rig and the print tests' CUPS printer of its own under
# BUILD_DIR/bench/print-rig (the win64 build folder), writes a document of
# PAGES dense pages (100 unless given) and, ROUNDS times (2), prints it
# with "vell.exe /PA" and as enhanced metafiles played to the same printer.
# For each it reports the time until the program has handed the job to the
# spooler, the time until the PDF is written, and the spooled bytes per
# page. Needs root, as the print tests do.
set -euo pipefail
export LC_ALL=C
build=$(cd "$1" && pwd)
pages=${2:-100}
rounds=${3:-2}
here="$(cd "$(dirname "$0")" && pwd)"
rig="$build/bench/print-rig"
bin="$build/bin"
# shellcheck source=../print_rig.sh
source "$here/../print_rig.sh"
start_print_rig "$rig" "$bin"
doc="$rig/work/bench.vel"
wine "$bin/printbench.exe" make "$(winpath "$doc")" "$pages" </dev/null

# run_job LABEL PRINTBENCH-ARGS...: one job, timed to the hand-over and to
# the finished PDF; prints a result line.
run_job() {
  local label=$1 start handed pdf_done spooled pdf pdf_pages
  shift
  rm -f "$VELL_PDF_DIR"/*.pdf
  start=$(date +%s.%N)
  handed=$(wine "$bin/printbench.exe" "$@" </dev/null 2>/dev/null | tr -d '\r' | sed -n 's/^seconds=//p')
  while [ -n "$(lpstat -o "$VELL_PRINTER" 2>/dev/null)" ] || ! ls "$VELL_PDF_DIR"/*.pdf >/dev/null 2>&1; do
    sleep 0.1
  done
  pdf_done=$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { print a - b }')
  # shellcheck disable=SC2012
  spooled=$(stat -c %s "$(ls -t "$VELL_CUPS_SPOOL"/d*-001 | head -n1)")
  pdf=$(ls "$VELL_PDF_DIR"/*.pdf)
  pdf_pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
  printf '%-10s handed over %7.2f s   PDF of %s pages after %7.2f s   spooled %8d bytes per page\n' \
    "$label" "$handed" "$pdf_pages" "$pdf_done" $((spooled / pages))
}

echo "$pages dense pages (about 2,000 records each), printer $VELL_PRINTER"
# The two take turns at going first, so that a machine growing busier or
# quieter weighs on both alike.
for round in $(seq 1 "$rounds"); do
  echo "round $round"
  if [ $((round % 2)) -eq 1 ]; then
    run_job "vell /PA" vell "$(winpath "$bin/vell.exe")" "$(winpath "$doc")"
    run_job "metafiles" metafiles "$(winpath "$doc")"
  else
    run_job "metafiles" metafiles "$(winpath "$doc")"
    run_job "vell /PA" vell "$(winpath "$bin/vell.exe")" "$(winpath "$doc")"
  fi
done
