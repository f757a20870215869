# Wine tests of the viewer window: its parts, navigation, the jump dialog,
# the zoom box, click zoom, scrolling, the index box, label records, the
# building messages with vellgen, and the page area's pixels against
# vellrender's.
#
# Most cases run their actions in one "vtdriver viewer batch" (starting a
# Windows program under Wine costs more than any action) and compare what
# the "get" steps print with the expected transcript.
# shellcheck shell=bash

readonly TOOLS_DIR="$(dirname "$VELL_EXE")"

# A case that fails leaves no viewer window for the next one: it is closed
# before the shared clean-up waits for the program (which vellgen may have
# started).
close_leftover_viewer() {
  if [ "$1" -ne 0 ]; then driver viewer close --timeout 1 >/dev/null 2>&1 || true; fi
  finish_case
}
trap 'close_leftover_viewer $?' EXIT

# ---- helpers ------------------------------------------------------------

# open_viewer KIND [TAIL-PREFIX]: writes a viewer test document and shows it.
open_viewer() {
  doc="$work/$1.vel"
  driver make-viewer-doc "$1" "$(winpath "$doc")" || fail "make-viewer-doc $1 failed"
  start_vell --timeout 60 "${2:-}$(winpath "$doc")"
}

close_viewer() {
  driver viewer close >/dev/null || fail "the viewer window did not close"
  expect_vell_ends
}

# steps: the actions on stdin, one a line, words separated by " | ", run in
# one batch; what they print goes to $work/steps.out.
steps() {
  sed 's/ | /\t/g' >"$work/steps.txt"
  driver viewer batch "$(winpath "$work/steps.txt")" >"$work/steps.out" ||
    fail "steps failed: $(tail -n2 "$work/steps.out")"
}

# expect_output: the batch printed exactly the transcript on stdin.
expect_output() {
  diff -u - "$work/steps.out" >"$work/steps.diff" || fail "unexpected output:
$(cat "$work/steps.diff")"
}

state_of() { driver viewer get "$1" | sed -n "s/^$1=//p"; }

# ---- the window -----------------------------------------------------------

# Caption, maximised window, status text, toolbar (E-Mail, Fax and Save
# absent for a document that offers none), zoom and index boxes.
case_viewer_window_parts() {
  open_viewer twelve-pages
  steps <<'EOF'
get | caption | maximized | status | progress.visible | toolbar | zoomlabel
get | zoom.text | zoom.selection | zoom.item
get | index.visible | index.selection | index.item
EOF
  expect_output <<'EOF'
caption=Viewer Test
maximized=1
status=Page 1 of 12
progress.visible=0
toolbar=751:on 752:off 753:off 754:on 755:on 756:on 757:on 758:- 759:- 760:-
zoomlabel=Zoom
zoom.text=Fit Width
zoom.selection=0
zoom.item=Fit Width
zoom.item=Fit Window
zoom.item=75%
zoom.item=100%
zoom.item=125%
index.visible=1
index.selection=0
index.item=< Document Index >
index.item=Totals
index.item=Summary   
index.item=  Appendix
index.item=Chapter 5
index.item=Nowhere
index.item=Beyond
EOF
  close_viewer
}

# First, previous, next and last with their button states, by toolbar and
# menu ids; the status text names the index entries of the page shown;
# Close on the toolbar ends the program.
case_viewer_navigation() {
  open_viewer twelve-pages
  steps <<'EOF'
command | 754
get | status | toolbar
command | 705
get | status
command | 706
get | status | toolbar
command | 754
get | status
command | 704
get | status
command | 752
get | status | toolbar
command | 753
get | status
command | 751 | --post
EOF
  expect_output <<'EOF'
status=Page 2 of 12
toolbar=751:on 752:on 753:on 754:on 755:on 756:on 757:on 758:- 759:- 760:-
status=Page 3 of 12       Totals ... Appendix
status=Page 12 of 12
toolbar=751:on 752:on 753:on 754:off 755:off 756:on 757:on 758:- 759:- 760:-
status=Page 12 of 12
status=Page 11 of 12
status=Page 1 of 12
toolbar=751:on 752:off 753:off 754:on 755:on 756:on 757:on 758:- 759:- 760:-
status=Page 1 of 12
EOF
  expect_vell_ends
}

# One page: every navigation button off, no index box, the header's 100 %.
case_viewer_single_page() {
  open_viewer single-page
  steps <<'EOF'
get | status | toolbar | index.visible | zoom.text
EOF
  expect_output <<'EOF'
status=Page 1 of 1
toolbar=751:on 752:off 753:off 754:off 755:off 756:on 757:on 758:- 759:- 760:-
index.visible=0
zoom.text=100%
EOF
  close_viewer
}

# The jump dialog: its prompt names the page count; numbers outside the
# document, 0 and letters leave it open; a page in range is shown.
case_viewer_jump_dialog() {
  open_viewer twelve-pages
  driver viewer command 756 --post || fail "no viewer"
  driver window --title "Jump to a page" --controls >"$work/jump.out" || fail "no jump dialog"
  grep -q '^control id=104 class=Static visible=1 text=To which page would you like to jump? ( 1 - 12 )$' \
    "$work/jump.out" || fail "prompt: $(cat "$work/jump.out")"
  grep -q '^control id=101 class=Edit visible=1 text=1$' "$work/jump.out" ||
    fail "edit: $(cat "$work/jump.out")"
  local wrong
  for wrong in 13 0 abc; do
    driver dialog --title "Jump to a page" --timeout 3 --set "101=" --keys "101=$wrong" --press 102 \
      >/dev/null || fail "the jump dialog closed before [$wrong]"
  done
  driver dialog --title "Jump to a page" --timeout 3 --set "101=7.9" --press 102 >/dev/null ||
    fail "the jump dialog closed on a wrong number"
  # The menu's Jump to Page, then Cancel: nothing changes.
  steps <<'EOF'
wait-status | Page 7 of 12
command | 707 | --post
EOF
  driver dialog --title "Jump to a page" --press 103 >/dev/null || fail "no jump dialog from the menu"
  expect_eq "status after Cancel" "Page 7 of 12" "$(state_of status)"
  close_viewer
}

# ---- zoom ------------------------------------------------------------------

case_viewer_zoom_box() {
  open_viewer twelve-pages
  steps <<'EOF'
type-zoom | 150
get | zoom.text
type-zoom | 10
get | zoom.text
type-zoom | abc
get | zoom.text
type-zoom |  75
get | zoom.text
type-zoom |   150
get | zoom.text
type-zoom | fIT wINDOW
get | zoom.text
type-zoom |  FIT WIDTH 
get | zoom.text
select-zoom | 4
get | zoom.text
EOF
  # "  150" is read from its first four characters, "  15".
  expect_output <<'EOF'
zoom.text=125%
zoom.text=25%
zoom.text=100%
zoom.text=75%
zoom.text=25%
zoom.text=Fit Window
zoom.text=Fit Width
zoom.text=125%
EOF
  close_viewer
}

# Left clicks zoom in, right clicks out, from the stored zoom factor; a
# click outside the page area does nothing.
case_viewer_click_zoom() {
  open_viewer twelve-pages
  steps <<'EOF'
select-zoom | 3
click | centre | --right
get | zoom.text
click | centre | --right
get | zoom.text
click | centre
get | zoom.text
click | centre
get | zoom.text
click | centre
click | centre
get | zoom.text
click | centre
get | zoom.text
click | centre
get | zoom.text
select-zoom | 2
click | centre
get | zoom.text
type-zoom | 115
click | centre | --right
get | zoom.text
type-zoom | 25
click | centre | --right
get | zoom.text
click | -8 | -8
get | zoom.text
EOF
  expect_output <<'EOF'
zoom.text=80%
zoom.text=60%
zoom.text=70%
zoom.text=80%
zoom.text=120%
zoom.text=125%
zoom.text=125%
zoom.text=90%
zoom.text=90%
zoom.text=25%
zoom.text=25%
EOF
  close_viewer
}

# ---- scrolling ----------------------------------------------------------------

# A landscape page at 125 % needs both bars; requests move by 3 and 15 and
# stop at 0 and 100; the thumb sets the position.
case_viewer_scrolling() {
  open_viewer landscape
  local bar step
  {
    echo "get | zoom.text | vbar.visible | hbar.visible"
    echo "select-zoom | 4"
    echo "get | vbar.visible | hbar.visible"
    for bar in v h; do
      for step in "1 | 0" "3 | 0" "2 | 0" "0 | 0" "0 | 0" "5 | 97" "3 | 0" "1 | 0" "5 | 150"; do
        echo "scroll | $bar | $step"
        echo "get | ${bar}bar.position"
      done
    done
  } | steps
  {
    printf '%s\n' "zoom.text=Fit Window" vbar.visible=0 hbar.visible=0 vbar.visible=1 hbar.visible=1
    for bar in v h; do
      printf "${bar}bar.position=%s\n" 3 18 3 0 0 97 100 100 100
    done
  } | expect_output
  close_viewer
}

# ---- document index -------------------------------------------------------------

# Entries jump to their page, held to the document, and the box shows its
# heading again.
case_viewer_index_box() {
  open_viewer twelve-pages
  steps <<'EOF'
index | 4
get | status | index.selection | index.text
index | 2
get | status
index | 6
get | status
index | 5
get | status | index.selection
EOF
  expect_output <<'EOF'
status=Page 5 of 12       Chapter 5
index.selection=0
index.text=< Document Index >
status=Page 3 of 12       Totals ... Appendix
status=Page 12 of 12
status=Page 1 of 12
index.selection=0
EOF
  close_viewer
}

# ---- labels ----------------------------------------------------------------------

# A page's label records change the zoom label, the tooltip of Next and the
# menu's Next Page (its new mnemonic works, the old one no more); disabled
# buttons show no tip. Menus cannot be read across processes under Wine, so
# the menu is tried by its mnemonics.
case_viewer_label_records() {
  open_viewer label-records
  steps <<'EOF'
get | zoom.text | toolbar | zoomlabel
tooltip | 751
tooltip | 752
menu-keys | d | n
wait-status | Page 2 of 3
get | zoomlabel
tooltip | 754
menu-keys | d | n | --escape
get | status
menu-keys | d | o
wait-status | Page 3 of 3
EOF
  expect_output <<'EOF'
zoom.text=Fit Width
toolbar=751:on 752:off 753:off 754:on 755:on 756:on 757:on 758:on 759:on 760:on
zoomlabel=Zoom
tooltip=&Close
tooltip=(none)
zoomlabel=Scale
tooltip=&Onward
status=Page 2 of 3
EOF
  close_viewer
}

# ---- building -------------------------------------------------------------------------

# A building document with no generator: the status shows the page count as
# unknown (the header's 12 does not count: no page has been announced),
# the index box is hidden, Save stays in the menu although the document does
# not offer it, and print, e-mail, fax and save refuse.
case_viewer_building_refusals() {
  open_viewer twelve-pages "/BV "
  steps <<'EOF'
wait-status | 1 of ?  Building 1
get | index.visible | progress.visible
command | 757 | --post
EOF
  expect_output <<'EOF'
index.visible=0
progress.visible=0
EOF
  expect_message "Viewer Test" "You can't print until the document has finished building."
  driver viewer command 708 --post || fail "no viewer"
  expect_message "Viewer Test" "You can't e-mail until the document has finished building."
  driver viewer command 759 --post || fail "no viewer"
  expect_message "Viewer Test" "You can't fax until the document has finished building."
  driver viewer menu-keys f s || fail "no viewer"
  expect_message "Viewer Test" "You can't save this document until it has finished building."
  close_viewer
}

# vellgen writes five pages while the viewer shows them: page 1 appears with
# the first page message, the progress bar follows the generator, and the
# building-finished message brings the page count, the index box and the
# pruned menu. The generator sends each page's progress after the page, so
# the status for page 1 ("Building 2") can show before the bar does; the
# bar is read once page 2 has come ("Building 3"), after page 1's progress.
case_viewer_building_road() {
  local out="$work/vellgen.out" doc="$work/road report.vel"
  wine "$TOOLS_DIR/vellgen.exe" --pages 5 --pace 600 --index --no-outputs "$(winpath "$doc")" \
    >"$out" 2>>"$log" </dev/null &
  local generator=$!
  steps <<'EOF'
wait-status | 1 of ?  Building 3 | --timeout | 30
get | progress.visible | index.visible
wait-status | Page 1 of 5       Section 1 | --timeout | 30
get | progress.visible | index.visible | index.item
command | 755
get | status
menu-keys | f | s | --escape
EOF
  wait "$generator" || fail "vellgen failed: $(cat "$out")"
  expect_output <<'EOF'
progress.visible=1
index.visible=0
progress.visible=0
index.visible=1
index.item=< Document Index >
index.item=Section 1
index.item=Section 2
status=Page 5 of 5
EOF
  expect_eq "generator's story" "viewer|page 1|page 2|page 3|page 4|page 5|finished" \
    "$(awk '$1 != "progress" {print $1 ($1 == "page" ? " " $2 : "")}' "$out" | paste -sd'|')"
  # Save is no longer in the menu: S found nothing, and no message came.
  driver msgbox --timeout 1 --press none >/dev/null 2>&1 && fail "Save answered after pruning"
  driver viewer close >/dev/null || fail "the viewer did not close"
}

# Closing the viewer while the document is still building tells the
# generator (message 104), which then ends.
case_viewer_building_closed() {
  local out="$work/vellgen.out"
  wine "$TOOLS_DIR/vellgen.exe" --pages 2 --pace 0 --hold "$(winpath "$work/held.vel")" \
    >"$out" 2>>"$log" </dev/null &
  local generator=$!
  steps <<'EOF'
wait-status | 1 of ?  Building 3 | --timeout | 30
close
EOF
  wait "$generator" || fail "vellgen failed: $(cat "$out")"
  # The generator sends a page's progress after the page, so the progress
  # of page 2 can follow the closing it heard of.
  expect_eq "closing heard" "viewer closed" "$(grep -x 'viewer closed' "$out")"
}

# ---- pixels ---------------------------------------------------------------------------

# capture_area PNG: the page area as the screen shows it.
capture_area() {
  local x y w h
  read -r x y w h <<<"$(state_of area)"
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$1"
  area_w=$w
  area_h=$h
}

render_page_2() {
  wine "$TOOLS_DIR/vellrender.exe" "$(winpath "$doc")" 2 "$(winpath "$2")" --zoom "$1" \
    2>>"$log" </dev/null || fail "vellrender failed"
}

# expect_same_pixels A B: two pictures of equal size differ in no pixel.
expect_same_pixels() {
  local differ
  differ=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  expect_eq "pixels that differ between $(basename "$1") and $(basename "$2")" 0 "$differ"
}

# At 100 % the page area shows the page from its second row and column (the
# image's edge line is skipped); scrolled to the end at 125 % it shows the
# page's last rows. vellrender draws the same page at the same zoom.
case_viewer_page_pixels() {
  open_viewer twelve-pages
  steps <<'EOF'
command | 754
select-zoom | 3
EOF
  capture_area "$work/area-100.png"
  render_page_2 1 "$work/page-100.bmp"
  convert "$work/page-100.bmp" -crop "${area_w}x${area_h}+1+1" +repage "$work/expected-100.png"
  expect_same_pixels "$work/area-100.png" "$work/expected-100.png"

  steps <<'EOF'
select-zoom | 4
scroll | v | 5 | 100
EOF
  capture_area "$work/area-125.png"
  render_page_2 1.25 "$work/page-125.bmp"
  local page_h
  page_h=$(identify -format '%h' "$work/page-125.bmp")
  convert "$work/page-125.bmp" -crop "${area_w}x${area_h}+1+$((page_h - area_h + 1))" +repage \
    "$work/expected-125.png"
  expect_same_pixels "$work/area-125.png" "$work/expected-125.png"
  close_viewer
}

# ---- rendering only when needed ---------------------------------------------------------

# The viewer benchmark's window: scrolling and repainting copy the page
# image again and never render the page.
case_viewer_bench_counts() {
  wine "$TOOLS_DIR/viewerbench.exe" --repeat 3 >"$work/bench.out" 2>>"$log" </dev/null ||
    fail "viewerbench: $(cat "$work/bench.out")"
  grep -q '^scrolling: 30 requests, renders +0, copies +30,' "$work/bench.out" ||
    fail "scrolling: $(cat "$work/bench.out")"
  grep -q '^wheel: 30 notches, renders +0, copies +30,' "$work/bench.out" ||
    fail "wheel: $(cat "$work/bench.out")"
  grep -q '^repainting: 10 repaints, renders +0, copies +10$' "$work/bench.out" ||
    fail "repainting: $(cat "$work/bench.out")"
}
