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

# ---- the unknown-record notice ------------------------------------------------

# The zoom box has the keyboard focus (a real click) when Next reaches a page
# with an unknown record: the notice's box takes the focus from the zoom
# box, which asks for a redraw, and a building message that asks for one
# arrives while the notice is up. The notice comes after the page was drawn
# (its red box shows behind it), the viewer keeps going and closes.
case_input_notice_with_focus_in_zoom_box() {
  local doc="$work/unknown.vel" page2 end
  driver fault make unknown-record "$(winpath "$doc")" >"$work/positions.out" ||
    fail "fault make unknown-record failed"
  page2=$(sed -n 's/^page2=\([0-9]*\) .*/\1/p' "$work/positions.out")
  end=$(sed -n 's/.* end=\([0-9]*\)$/\1/p' "$work/positions.out")
  start_vell "/BV $(winpath "$doc")"
  driver viewer wait-status "1 of ?  Building 1" >/dev/null || fail "no building viewer"
  driver fault page-added 261 || fail "page 1 was not taken"
  driver fault page-added "$page2" || fail "page 2 was not taken"
  local zx zy zw zh
  read -r zx zy zw zh <<<"$(driver viewer get zoom.rect | sed -n 's/^zoom.rect=//p')"
  [ -n "$zh" ] || fail "no zoom box"
  xdotool mousemove $((zx + 8)) $((zy + zh / 2)) click 1
  sleep 0.5
  driver viewer command $CMD_NEXT --post >/dev/null || fail "no viewer"
  driver msgbox --timeout 20 --press none >"$work/notice.out" || fail "no notice"
  [ "$(red_in_area)" -gt 0 ] || fail "the notice came before the page was drawn"
  driver fault page-added "$end" || fail "the building message was not taken while the notice was up"
  driver msgbox --timeout 10 >/dev/null || fail "the notice went away by itself"
  expect_eq "status" "status=2 of ?  Building 4" "$(driver viewer get status)"
  [ "$(red_in_area)" -gt 0 ] || fail "page 2 is no longer shown"
  close_viewer_input
}

red_in_area() {
  driver area-colour --title "Unknown Record" --id 108 --colour FF0000 | sed -n 's/^pixels=//p'
}

# ---- the magnifier --------------------------------------------------------------

cursor_now() { driver cursor | sed -n 's/^cursor=//p'; }

# The magnifier shows over the page area only. A jump dialog opened while
# the mouse rests there (as from the keyboard) shows the arrow, as every
# other dialog does: the dialogs share the viewer's window class.
case_input_magnifier_only_over_page_area() {
  open_viewer_doc twelve-pages
  driver viewer select-zoom 2 >/dev/null || fail "no zoom box"
  read_area
  xdotool mousemove $((area_x - 20)) $((area_y + 40))
  sleep 0.3
  local arrow magnifier
  arrow=$(cursor_now)
  xdotool mousemove $((area_x + area_w / 2)) $((area_y + area_h / 2))
  sleep 0.3
  magnifier=$(cursor_now)
  [ -n "$arrow" ] && [ "$magnifier" != "$arrow" ] || fail "no magnifier over the page area"
  driver viewer command 756 --post >/dev/null || fail "no viewer"
  driver window --title "Jump to a page" >"$work/jump.out" || fail "no jump dialog"
  local jx jy jw jh
  read -r jx jy jw jh <<<"$(sed -n 's/^rect=//p' "$work/jump.out")"
  xdotool mousemove $((jx + jw / 2)) $((jy + 8 + jh / 2))
  sleep 0.2
  xdotool mousemove $((jx + jw / 2 + 2)) $((jy + 10 + jh / 2))
  sleep 0.3
  expect_eq "cursor over the jump dialog" "$arrow" "$(cursor_now)"
  driver dialog --title "Jump to a page" --press 103 >/dev/null || fail "the jump dialog did not close"
  close_viewer_input
}
