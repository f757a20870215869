# Wine tests of the viewer window under real input: mouse clicks and moves
# and the keyboard focus, driven by xdotool on the rig's display, where
# Wine draws its own frames, so screen coordinates are those GetWindowRect
# gives.
# shellcheck shell=bash

# A case that fails leaves no viewer window for the next one.
trap 'if [ $? -ne 0 ]; then driver viewer close --timeout 1 >/dev/null 2>&1 || true; fi; finish_case' EXIT

readonly CMD_NEXT=754

open_viewer_doc() {
  doc="$work/$1.vel"
  driver make-viewer-doc "$1" "$(winpath "$doc")" || fail "make-viewer-doc $1 failed"
  start_vell --timeout 60 "$(winpath "$doc")"
  driver viewer wait-status "${2:-Page 1 of 12}" >/dev/null || fail "the viewer did not open"
}

# The page area's screen rectangle: area_x area_y area_w area_h.
read_area() {
  read -r area_x area_y area_w area_h <<<"$(driver viewer get area | sed -n 's/^area=//p')"
  [ -n "$area_h" ] || fail "no page area"
}

zoom_text() { driver viewer get zoom.text | sed -n 's/^zoom.text=//p'; }

# expect_zoom TEXT: the zoom box shows TEXT within a few seconds and still
# does a moment later (real input reaches the window in its own time).
expect_zoom() {
  local seen=
  for _ in $(seq 1 30); do
    seen=$(zoom_text)
    [ "$seen" = "$1" ] && break
    sleep 0.2
  done
  sleep 0.5
  expect_eq "zoom box" "$1" "$(zoom_text)"
}

# ---- click zoom --------------------------------------------------------------

# A quick second click arrives as a double click: it is a second step.
case_input_double_click_two_steps() {
  open_viewer_doc twelve-pages
  driver viewer select-zoom 2 >/dev/null || fail "no zoom box"
  read_area
  xdotool mousemove $((area_x + area_w / 2)) $((area_y + area_h / 2)) click --repeat 2 --delay 60 1
  # 75 % -> 90 % -> 110 %.
  expect_zoom "110%"
  close_viewer_input
}

# The page area's first row and column take clicks: the hit test is the
# area's own rectangle, whatever the window's frame and menu bar measure.
case_input_click_at_area_corner() {
  open_viewer_doc twelve-pages
  driver viewer select-zoom 2 >/dev/null || fail "no zoom box"
  read_area
  xdotool mousemove "$area_x" "$area_y" click 1
  expect_zoom "90%"
  close_viewer_input
}

close_viewer_input() {
  driver viewer close >/dev/null || fail "the viewer window did not close"
  expect_vell_ends
}
