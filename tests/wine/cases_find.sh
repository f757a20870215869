# Wine tests of find: real keys through xdotool (Ctrl+F, typing, Enter, F3,
# Esc), the status texts, and the yellow mark read from the screen.
# shellcheck shell=bash

readonly FIND_TITLE="Find Pages"

# The 32767-page document, written once per rig: it is large (about 120 MB).
large_find_doc() {
  local doc="$VELL_RIG/find-large.vel"
  if [ ! -s "$doc" ]; then
    driver find make find-large "$(winpath "$doc.part")" || fail "find make find-large failed"
    mv "$doc.part" "$doc"
  fi
  printf '%s' "$doc"
}

# type_into_find TEXT: types into the find dialog's text field, replacing it.
type_into_find() {
  driver window --title Find --timeout 10 >/dev/null || fail "the find dialog did not open"
  keys_to Find ctrl+a BackSpace
  xdotool type --delay 30 "$1"
}

# mark_value KEY: one value of "find mark" on the viewer.
mark_value() { sed -n "s/^$1=//p" "$work/mark.out"; }

read_mark() {
  for _ in $(seq 1 30); do
    driver find mark --title "$1" >"$work/mark.out" || fail "find mark failed"
    [ "$(mark_value box)" != none ] && return 0
    sleep 0.1
  done
  return 1
}

# The mark lies over the text: a box of one text line's height, with the
# dark pixels of the text inside it.
expect_mark_on_text() {
  read_mark "$FIND_TITLE" || fail "no mark on the screen"
  local box top bottom
  box=$(mark_value box)
  top=$(echo "$box" | cut -d, -f2)
  bottom=$(echo "$box" | cut -d, -f4)
  [ $((bottom - top)) -ge 8 ] && [ $((bottom - top)) -le 40 ] || fail "mark box $box is not one line"
  [ "$(mark_value dark)" -gt 20 ] || fail "no text inside the mark $box: $(cat "$work/mark.out")"
  echo "mark $box on page $1"
}

open_find_pages() {
  local doc="$work/find.vel"
  driver find make find-pages "$(winpath "$doc")" || fail "find make find-pages failed"
  start_vell "$(winpath "$doc")"
  driver viewer wait-status "Page 1 of 5" >/dev/null || fail "the viewer did not open"
}

# Ctrl+F, the text, Enter: page 2 with the mark over the text, scrolled into
# view (it stands 9 inches down); F3: the next match, on page 4; a text that
# is nowhere: "Not found", and the mark is gone.
case_find_next_marks_the_text() {
  open_find_pages
  keys_to "$FIND_TITLE" ctrl+f
  type_into_find "invoice 4711"
  keys_to Find Return
  driver viewer wait-status "Page 2 of 5" --timeout 10 >/dev/null || fail "Enter did not go to page 2"
  expect_mark_on_text 2
  keys_to Find F3
  driver viewer wait-status "Page 4 of 5" --timeout 10 >/dev/null || fail "F3 did not go to page 4"
  expect_mark_on_text 4
  # Shift+F3 in the viewer window itself goes back to page 2.
  keys_to "$FIND_TITLE" shift+F3
  driver viewer wait-status "Page 2 of 5" --timeout 10 >/dev/null || fail "Shift+F3 did not go back"
  type_into_find "nowhere to be seen"
  keys_to Find Return
  # The notice stands beside the page number, until the next action.
  driver viewer wait-status "Page 2 of 5   Not found" --timeout 10 >/dev/null || fail "no Not found"
  driver find mark --title "$FIND_TITLE" >"$work/mark.out" || fail "find mark failed"
  expect_eq "mark after Not found" none "$(mark_value box)"
  activate_viewer
  xdotool key Down
  driver viewer wait-status "Page 2 of 5" --timeout 10 >/dev/null || fail "the notice stayed"
  driver viewer close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
}

# Whole words: "voice" is in "Invoice" only, so it is not found; with the
# option off it is, and the next page change takes the mark away.
case_find_whole_words_and_page_change() {
  open_find_pages
  keys_to "$FIND_TITLE" ctrl+f
  type_into_find "voice"
  # Tab, Tab: from the text past Match case to Whole words.
  keys_to Find Tab Tab space Return
  driver viewer wait-status "Page 1 of 5   Not found" --timeout 10 >"$work/status.out" || fail "whole word voice was found: $(cat "$work/status.out")"
  keys_to Find space Return
  driver viewer wait-status "Page 2 of 5" --timeout 10 >/dev/null || fail "voice was not found"
  read_mark "$FIND_TITLE" || fail "no mark"
  driver viewer command 705 >/dev/null || fail "no next page"
  driver viewer command 704 >/dev/null || fail "no previous page"
  driver viewer wait-status "Page 2 of 5" >/dev/null || fail "not back on page 2"
  driver find mark --title "$FIND_TITLE" >"$work/mark.out" || fail "find mark failed"
  expect_eq "mark after a page change" none "$(mark_value box)"
  driver viewer close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
}

# A click on the toolbar's empty end makes the viewer the active window
# (the find dialog stays open), and the page area has the keyboard again.
activate_viewer() {
  local left top width height focus=
  read -r left top width height <<<"$(driver viewer get area | sed -n 's/^area=//p')"
  xdotool mousemove $((left + width - 20)) $((top - 12)) click 1
  for _ in $(seq 30); do
    focus=$(driver viewer get focus | sed -n 's/^focus=//p')
    [ "$focus" = 108:Static ] && return 0
    sleep 0.1
  done
  fail "the viewer did not take the keyboard back: focus=$focus"
}

# Esc cancels before it closes: with the find dialog open and the viewer
# active (a click on it), the first Esc clears the mark, the second closes the dialog, the
# third the viewer.
case_find_escape_cancels_mark_then_dialog() {
  open_find_pages
  keys_to "$FIND_TITLE" ctrl+f
  type_into_find "invoice 4711"
  keys_to Find Return
  driver viewer wait-status "Page 2 of 5" --timeout 10 >/dev/null || fail "Enter did not go to page 2"
  read_mark "$FIND_TITLE" || fail "no mark"
  activate_viewer
  xdotool key Escape
  for _ in $(seq 30); do
    driver find mark --title "$FIND_TITLE" >"$work/mark.out" || fail "the viewer is gone after one Esc"
    [ "$(mark_value box)" = none ] && break
    sleep 0.1
  done
  expect_eq "mark after Esc" none "$(mark_value box)"
  driver window --title Find --timeout 5 >/dev/null || fail "the find dialog closed with the mark"
  xdotool key Escape
  for _ in $(seq 30); do
    driver window --title Find --timeout 0.2 >/dev/null 2>&1 || break
    sleep 0.1
  done
  driver window --title Find --timeout 0.2 >/dev/null 2>&1 && fail "the find dialog stayed open"
  driver viewer get status >/dev/null || fail "the viewer closed with the find dialog"
  activate_viewer
  xdotool key Escape
  expect_vell_ends
}

# Screen rectangles "L T R B": the mark's (the page area's rectangle and
# the mark's box in it) and the find dialog's; expect_apart A B WHEN.
mark_on_screen() {
  local left top width height
  read -r left top width height <<<"$(driver viewer get area | sed -n 's/^area=//p')"
  IFS=, read -r l t r b <<<"$(mark_value box)"
  echo "$((left + l)) $((top + t)) $((left + r)) $((top + b))"
}
dialog_on_screen() {
  local x y w h
  read -r x y w h <<<"$(driver window --title Find | sed -n 's/^rect=//p')"
  echo "$x $y $((x + w)) $((y + h))"
}
expect_apart() {
  local a b
  read -r -a a <<<"$1"
  read -r -a b <<<"$2"
  if [ "${a[0]}" -lt "${b[2]}" ] && [ "${b[0]}" -lt "${a[2]}" ] && [ "${a[1]}" -lt "${b[3]}" ] && [ "${b[1]}" -lt "${a[3]}" ]; then
    fail "$3: [$1] lies under the find dialog at [$2]"
  fi
}

# The find dialog never hides the match. It opens beside the page's text,
# away from the page area's top-left quarter, so "Page 3" at the page's
# top left (1 inch, 1 inch) shows; moved over
# that place, it moves off "Page 4", which the next search marks there.
case_find_match_not_under_dialog() {
  open_find_pages
  keys_to "$FIND_TITLE" ctrl+f
  local left top width height
  read -r left top width height <<<"$(driver viewer get area | sed -n 's/^area=//p')"
  expect_apart "$left $top $((left + width / 2)) $((top + height / 2))" "$(dialog_on_screen)" \
    "the page area's top-left quarter"
  type_into_find "Page 3"
  keys_to Find Return
  driver viewer wait-status "Page 3 of 5" --timeout 10 >/dev/null || fail "Page 3 not found"
  read_mark "$FIND_TITLE" || fail "no mark"
  local mark
  mark=$(mark_on_screen)
  expect_apart "$mark" "$(dialog_on_screen)" "on opening"
  read -r -a m <<<"$mark"
  driver window --title Find --place "$((m[0] - 20)),$((m[1] - 20)),0,0" >/dev/null || fail "no find dialog"
  type_into_find "Page 4"
  keys_to Find Return
  driver viewer wait-status "Page 4 of 5" --timeout 10 >/dev/null || fail "Page 4 not found"
  read_mark "$FIND_TITLE" || fail "no mark"
  expect_apart "$(mark_on_screen)" "$(dialog_on_screen)" "after the dialog was moved over it"
  driver viewer close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
}

# F3 searches for what the dialog shows: after "invoice 4711", the text
# "Page 5" typed into the dialog and F3 go to page 5; then Match case
# ticked with "PAGE 1" and F3: not found.
case_find_f3_reads_the_dialog() {
  open_find_pages
  keys_to "$FIND_TITLE" ctrl+f
  type_into_find "invoice 4711"
  keys_to Find Return
  driver viewer wait-status "Page 2 of 5" --timeout 10 >/dev/null || fail "Enter did not go to page 2"
  type_into_find "Page 5"
  keys_to Find F3
  driver viewer wait-status "Page 5 of 5" --timeout 10 >"$work/status.out" ||
    fail "F3 did not search for the dialog's text: $(cat "$work/status.out")"
  type_into_find "PAGE 1"
  keys_to Find Tab space F3
  driver viewer wait-status "Page 5 of 5   Not found" --timeout 10 >"$work/status.out" ||
    fail "F3 did not take Match case: $(cat "$work/status.out")"
  driver viewer close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
}

# status_until CHECK [ARG]: polls the viewer's status text until
# "CHECK [ARG] TEXT" holds (five seconds at most) and prints the last one.
status_until() {
  local status=
  for _ in $(seq 50); do
    status=$(driver viewer get status | sed -n 's/^status=//p')
    "$@" "$status" && break
    sleep 0.1
  done
  printf '%s' "$status"
}
ends_not_found() { [ "${1% Not found}" != "$1" ]; }
differs_from() { [ "$2" != "$1" ]; }

# While the document builds, a find result stays beside the page number
# through the page-added updates that follow.
case_find_notice_while_building() {
  local out="$work/vellgen.out" doc="$work/building.vel" first status
  wine "$(dirname "$VELL_EXE")/vellgen.exe" --pages 60 --pace 500 --title "Find Building" --no-outputs \
    "$(winpath "$doc")" >"$out" 2>>"$log" </dev/null &
  local generator=$!
  driver find wait-status-prefix "1 of ?  Building" --timeout 30 >/dev/null || fail "the viewer did not open"
  keys_to "Find Building" ctrl+f
  type_into_find "nowhere to be seen"
  keys_to Find Return
  first=$(status_until ends_not_found)
  ends_not_found "$first" || fail "no Not found: [$first]"
  status=$(status_until differs_from "$first")
  [ "$status" != "$first" ] || fail "no page came after [$first]"
  ends_not_found "$status" || fail "a page-added update dropped the notice: [$status]"
  driver viewer close >/dev/null || fail "the viewer did not close"
  wait "$generator" || true
}

# A search that reads every page ("99999" would only be a page number) of
# 32767 pages shows its progress; Esc stops it on the page it started from.
case_find_escape_stops_a_long_search() {
  local doc
  doc=$(large_find_doc)
  start_vell --timeout 85 "$(winpath "$doc")"
  driver viewer wait-status "Page 1 of 32767" --timeout 30 >/dev/null || fail "the viewer did not open"
  keys_to "Find Large" ctrl+f
  type_into_find "99999"
  keys_to Find Return
  driver find wait-status-prefix "Searching page" --timeout 20 >"$work/status.out" ||
    fail "no progress: $(cat "$work/status.out")"
  keys_to Find Escape
  driver viewer wait-status "Page 1 of 32767   Search stopped" --timeout 10 >/dev/null || fail "Esc did not stop the search"
  driver viewer command 705 >/dev/null || fail "no next page"
  driver viewer wait-status "Page 2 of 32767" >/dev/null || fail "the search moved the current page"
  driver viewer close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
}

# Benchmark: from Enter to the match on the last page of 32767 typical
# pages; prints the time and the pages per second.
case_find_bench_last_page() {
  local doc started elapsed
  doc=$(large_find_doc)
  start_vell --timeout 85 "$(winpath "$doc")"
  driver viewer wait-status "Page 1 of 32767" --timeout 30 >/dev/null || fail "the viewer did not open"
  keys_to "Find Large" ctrl+f
  type_into_find "closing balance"
  started=$(date +%s%N)
  keys_to Find Return
  driver viewer wait-status "Page 32767 of 32767" --timeout 60 >/dev/null || fail "the last page's text was not found"
  elapsed=$((($(date +%s%N) - started) / 1000000))
  echo "find on the last page of 32767: ${elapsed} ms, $((32767 * 1000 / (elapsed > 0 ? elapsed : 1))) pages/s"
  read_mark "Find Large" || fail "no mark on the last page"
  driver viewer close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
}

# Display option 0x800 at 40 %: the page is drawn at 100 % and shrunk, and
# the mark over "theta" (the ninth word of its line) stands where the word
# does in the shrunk image, not where a measure at 40 % would put it.
case_find_mark_on_a_shrunk_page() {
  local doc="$work/shrink.vel" left right box
  driver find make find-shrink "$(winpath "$doc")" || fail "find make find-shrink failed"
  driver find span find-shrink >"$work/span.out" || fail "find span failed"
  left=$(sed -n 's/^left=//p' "$work/span.out")
  right=$(sed -n 's/^right=//p' "$work/span.out")
  start_vell "$(winpath "$doc")"
  driver viewer wait-status "Page 1 of 1" >/dev/null || fail "the viewer did not open"
  driver viewer type-zoom 40 >/dev/null || fail "no zoom box"
  keys_to "Find Shrink" ctrl+f
  type_into_find "theta"
  keys_to Find Return
  read_mark "Find Shrink" || fail "no mark on the screen"
  box=$(mark_value box)
  # The image column c shows at (c - 1) x 0.4 in the page area; the mark
  # has a pixel of room on either side.
  local want_left=$(((left - 1) * 4 / 10 - 1)) want_right=$(((right - 1) * 4 / 10 + 2))
  local got_left got_right
  got_left=$(echo "$box" | cut -d, -f1)
  got_right=$(echo "$box" | cut -d, -f3)
  echo "mark $box, theta at $want_left..$want_right"
  [ $((got_left - want_left)) -ge -2 ] && [ $((got_left - want_left)) -le 2 ] &&
    [ $((got_right - want_right)) -ge -2 ] && [ $((got_right - want_right)) -le 2 ] ||
    fail "mark $box is not over theta at $want_left..$want_right"
  driver viewer close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
}
