# Wine tests of the off-screen page image: pages that reach beyond 17.5
# inches of image at the zoom they are shown at are shown whole.
# shellcheck shell=bash

readonly RED=FF0000

# red_pixels TITLE [COLOUR]: how many red (or COLOUR) pixels the viewer's
# page area shows now.
red_pixels() {
  driver area-colour --title "$1" --id 108 --colour "${2:-$RED}" | sed -n 's/^pixels=//p'
}

# wait_pixels TITLE COLOUR some|none: up to 20 s until the page area shows
# some pixels of that colour, or none; fails saying what it saw.
wait_pixels() {
  local count deadline=$((SECONDS + 20))
  while :; do
    count=$(red_pixels "$1" "$2")
    case "$3" in
      some) [ "${count:-0}" -gt 0 ] && return 0 ;;
      none) [ "${count:-1}" -eq 0 ] && return 0 ;;
    esac
    [ $SECONDS -lt $deadline ] || fail "waited for $3 $2 pixels in the page area of [$1], saw ${count:-no answer}"
    sleep 0.1
  done
}

# wait_red TITLE: the page area shows red.
wait_red() { wait_pixels "$1" "$RED" some; }

# open_marked KIND TITLE STATUS: the viewer on a one-page document whose
# red mark lies near the page's foot, scrolled to the top.
open_marked() {
  local doc="$work/$1.vel"
  make_doc "$1" "$doc"
  start_vell "$(winpath "$doc")"
  driver viewer wait-status "Page 1 of 1" >/dev/null || fail "the viewer did not open"
  # Once the white page shows, the mark must be out of sight.
  wait_pixels "$2" FFFFFF some
  expect_eq "red at the top of [$2]" 0 "$(red_pixels "$2")"
}

# Ledger turned to landscape is 17 inches tall: at 125 % its foot lies 2040
# rows down, beyond a 17.5-inch image (1680 rows at 96 pixels per inch).
case_page_image_ledger_landscape_at_125() {
  open_marked ledger-landscape "Ledger Landscape"
  driver viewer state >"$work/state.out" || fail "no viewer state"
  grep -qx 'zoom.text=125%' "$work/state.out" || fail "not at 125 %: $(cat "$work/state.out")"
  driver viewer scroll v 5 100 >/dev/null || fail "no viewer window"
  wait_red "Ledger Landscape"
  # Scrolling back hides the mark again: the copy follows the position.
  driver viewer scroll v 5 0 >/dev/null || fail "no viewer window"
  wait_pixels "Ledger Landscape" "$RED" none
  driver viewer close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
}

# Fit width far above 125 %: a narrow envelope fills the window's width
# and its foot lies about 2800 rows down; the image grows to hold it.
case_page_image_grows_for_fit_width() {
  open_marked tall-envelope "Tall Envelope"
  driver viewer state >"$work/state.out" || fail "no viewer state"
  grep -qx 'zoom.text=Fit Width' "$work/state.out" || fail "not at fit width: $(cat "$work/state.out")"
  driver viewer scroll v 5 100 >/dev/null || fail "no viewer window"
  wait_red "Tall Envelope"
  driver viewer close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
}
