# Wine tests of selecting and copying text: real mouse drags and keys from
# xdotool, the highlight read from the screen, the clipboard read back by
# the driver; and File > Open's dialog.
# shellcheck shell=bash
# shellcheck source=cases_find.sh
source "$(dirname "${BASH_SOURCE[0]}")/cases_find.sh"  # keys_to

readonly SELECT_TITLE="Select Table"

# A case that fails leaves no viewer window for the next one.
trap 'if [ $? -ne 0 ]; then driver viewer close --timeout 1 >/dev/null 2>&1 || true; fi; finish_case' EXIT

open_table() {
  local doc="$work/table.vel"
  driver select make table "$(winpath "$doc")" || fail "select make table failed"
  driver select clear-clipboard || fail "the clipboard could not be emptied"
  start_vell "$(winpath "$doc")"
  driver viewer wait-status "Page 1 of 2" >/dev/null || fail "the viewer did not open"
  read -r area_x area_y area_w area_h <<<"$(driver viewer get area | sed -n 's/^area=//p')"
  [ -n "$area_h" ] || fail "no page area"
}

# The screen point of a page point in inches at 100 %, scrolled to the top
# left (the copy starts one pixel in, past the image's edge line).
screen_x() { echo $((area_x + $(awk "BEGIN{print int($1 * 96)}") - 1)); }
screen_y() { echo $((area_y + $(awk "BEGIN{print int($1 * 96)}") - 1)); }

# drag X1 Y1 X2 Y2 (inches on the page): press, move in steps, release.
drag() {
  xdotool mousemove "$(screen_x "$1")" "$(screen_y "$2")" mousedown 1
  sleep 0.2
  xdotool mousemove "$(screen_x "$(awk "BEGIN{print ($1 + $3) / 2}")")" "$(screen_y "$(awk "BEGIN{print ($2 + $4) / 2}")")"
  sleep 0.2
  xdotool mousemove "$(screen_x "$3")" "$(screen_y "$4")"
  sleep 0.3
  xdotool mouseup 1
}

# Pixels of the page area in the highlight's light blue (white under it).
highlight() { driver area-colour --title "$SELECT_TITLE" --id 108 --colour 99CCFF | sed -n 's/^pixels=//p'; }

# expect_highlight some|none: the highlight shows (or has gone) within a few seconds.
expect_highlight() {
  local seen=
  for _ in $(seq 1 25); do
    seen=$(highlight)
    { [ "$1" = some ] && [ "${seen:-0}" -gt 50 ]; } && return 0
    { [ "$1" = none ] && [ "${seen:-1}" = 0 ]; } && return 0
    sleep 0.2
  done
  fail "highlight: expected $1, saw ${seen:-nothing} pixels"
}

# expect_clipboard TEXT: Ctrl+C puts TEXT (with \t and \r\n written out)
# on the clipboard within a few seconds, as Unicode and as ANSI text.
expect_clipboard() {
  keys_to "$SELECT_TITLE" ctrl+c
  for _ in $(seq 1 25); do
    driver select clipboard >"$work/clipboard.out" || fail "select clipboard failed"
    [ "$(sed -n 's/^text=//p' "$work/clipboard.out")" = "$1" ] && break
    sleep 0.2
  done
  expect_eq "clipboard text" "$1" "$(sed -n 's/^text=//p' "$work/clipboard.out")"
  expect_eq "clipboard ANSI text" "$1" "$(sed -n 's/^ansi=//p' "$work/clipboard.out")"
}

zoom_now() { driver viewer get zoom.text | sed -n 's/^zoom.text=//p'; }

close_table() {
  driver viewer close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
}

# A drag over the table copies its rows and cells: tabs between columns,
# CR LF between rows, and an HTML table of the same rows and cells. The
# zoom stays; a plain click afterwards still zooms in.
case_select_drag_copies_table() {
  open_table
  expect_eq "zoom" "100%" "$(zoom_now)"
  drag 0.8 0.9 5.8 1.85
  expect_highlight some
  expect_clipboard 'Item\tQty\tPrice\r\nWidget blue\t2\t12.50\r\nGadget\t10\t7.25'
  expect_eq "HTML table" '<table><tr><td>Item</td><td>Qty</td><td>Price</td></tr>\r\n<tr><td>Widget blue</td><td>2</td><td>12.50</td></tr>\r\n<tr><td>Gadget</td><td>10</td><td>7.25</td></tr>\r\n</table>' \
    "$(sed -n 's/^fragment=//p' "$work/clipboard.out")"
  expect_eq "zoom after the drag" "100%" "$(zoom_now)"
  xdotool mousemove "$(screen_x 4)" "$(screen_y 5)" click 1
  for _ in $(seq 1 25); do [ "$(zoom_now)" = "120%" ] && break; sleep 0.2; done
  expect_eq "zoom after a click" "120%" "$(zoom_now)"
  expect_highlight none
  close_table
}

# Ctrl+A then Ctrl+C: the whole page in reading order.
case_select_all_copies_page() {
  open_table
  keys_to "$SELECT_TITLE" ctrl+a
  expect_highlight some
  expect_clipboard 'Stock list\r\nItem\tQty\tPrice\r\nWidget blue\t2\t12.50\r\nGadget\t10\t7.25\r\nNotes follow'
  close_table
}

# The highlight shows over the page; Esc takes it away and leaves the
# viewer open; a page change takes a new one away.
case_select_highlight_cleared() {
  open_table
  drag 0.8 2.8 3 3.3
  expect_highlight some
  keys_to "$SELECT_TITLE" Escape
  expect_highlight none
  driver viewer wait-status "Page 1 of 2" >/dev/null || fail "Esc closed the viewer instead of clearing"
  keys_to "$SELECT_TITLE" ctrl+a
  expect_highlight some
  driver viewer command 705 >/dev/null || fail "no next page"
  driver viewer wait-status "Page 2 of 2" >/dev/null || fail "not on page 2"
  expect_highlight none
  close_table
}

# Ctrl+O shows the open dialog of start-up, owned by the viewer; so does
# File > Open. Cancelling leaves the viewer as it was.
case_select_open_dialog() {
  open_table
  keys_to "$SELECT_TITLE" ctrl+o
  driver window --title "Open vell Document" --timeout 20 --cancel >/dev/null || fail "Ctrl+O showed no open dialog"
  driver viewer menu-keys f o >/dev/null || fail "no File menu"
  driver window --title "Open vell Document" --timeout 20 --cancel >/dev/null || fail "File > Open showed no open dialog"
  driver viewer wait-status "Page 1 of 2" >/dev/null || fail "the viewer changed"
  # A document chosen there opens in a viewer of its own; this one stays.
  local other="$work/other.vel"
  driver make-viewer-doc single-page "$(winpath "$other")" || fail "make-viewer-doc failed"
  keys_to "$SELECT_TITLE" ctrl+o
  driver window --title "Open vell Document" --timeout 20 --set-edit "1148=$(winpath "$other")" --ok >/dev/null ||
    fail "the open dialog did not take the document"
  driver window --title "Single Page" --timeout 30 --close >/dev/null || fail "the chosen document did not open in a new viewer"
  driver window --title "$SELECT_TITLE" --timeout 5 >/dev/null || fail "the first viewer has gone"
  close_table
}

# Dragging past the area's foot scrolls the page down, one step a mouse move.
case_select_drag_past_edge_scrolls() {
  open_table
  expect_eq "vertical bar" "vbar.visible=1" "$(driver viewer get vbar.visible)"
  expect_eq "vertical bar position" "vbar.position=0" "$(driver viewer get vbar.position)"
  xdotool mousemove "$(screen_x 1)" "$(screen_y 2.8)" mousedown 1
  sleep 0.2
  # One move past the foot, then the mouse held still: the page goes on
  # scrolling (one move alone is one step of 3 positions).
  xdotool mousemove "$(screen_x 3)" $((area_y + area_h + 20))
  local position=
  for _ in $(seq 1 25); do
    position=$(driver viewer get vbar.position | sed -n 's/^vbar.position=//p')
    [ "${position:-0}" -ge 9 ] && break
    sleep 0.2
  done
  [ "${position:-0}" -ge 9 ] ||
    fail "the page did not go on scrolling with the mouse held past its foot: vbar.position=$position"
  xdotool mouseup 1
  sleep 0.3
  position=$(driver viewer get vbar.position)
  sleep 0.5
  expect_eq "position after the release" "$position" "$(driver viewer get vbar.position)"
  expect_highlight some
  close_table
}
