# Wine tests of documents built to exhaust a renderer: a line and a box
# border a million points wide, every record at the edges of the float
# range, and pictures whose headers claim gigapixels in a few bytes.
# vellrender.exe draws each on the GDI surface within a time limit and a
# memory limit, and the viewer opens each, shows it and closes.
# shellcheck shell=bash

readonly HOSTILE_DOCUMENTS="line-width-1e6 box-border-1e6 extreme-values picture-20000 pictures-8x8192"
# A page of any of them takes well under a second and some tens of
# megabytes; before their sizes were held, the widths froze vellrender and
# the pictures took gigabytes.
readonly HOSTILE_SECONDS=30 HOSTILE_PEAK_MIB=400
readonly REDUCED_PICTURE_NOTICE="A picture in this document has more pixels than vell draws on one page. It is shown at a lower resolution."

case_hostile_documents() {
  local render name doc start seconds peak rc
  render="$(dirname "$VELL_EXE")/vellrender.exe"
  for name in $HOSTILE_DOCUMENTS; do
    doc="$work/$name.vel"
    make_doc "hostile-$name" "$doc"
    start=$(date +%s%N)
    rc=0
    # GNU time reports the largest resident size of the Wine process.
    /usr/bin/time -f %M -o "$work/peak" timeout "$HOSTILE_SECONDS" \
      wine "$render" "$(winpath "$doc")" 1 "$(winpath "$work/$name.bmp")" </dev/null >>"$log" 2>&1 || rc=$?
    seconds=$((($(date +%s%N) - start) / 1000000000))
    peak=$(($(tail -n 1 "$work/peak") / 1024))
    echo "$name: vellrender $seconds s, peak $peak MiB, exit $rc" >>"$log"
    [ "$rc" != 124 ] || fail "$name: vellrender still drawing after $HOSTILE_SECONDS s"
    expect_eq "$name: vellrender's exit" 0 "$rc"
    [ -s "$work/$name.bmp" ] || fail "$name: vellrender wrote no page"
    [ "$peak" -le "$HOSTILE_PEAK_MIB" ] || fail "$name: vellrender peaked at $peak MiB"
    # The viewer shows the page; a picture beyond the page's budget is
    # drawn reduced, and the viewer says so once.
    start_vell "$(winpath "$doc")"
    case $name in
      picture*) expect_message "$name" "$REDUCED_PICTURE_NOTICE" ;;
      # At 75 %, Next, Previous, Next: the sequence that once killed the
      # viewer in the heap.
      *-1e6)
        driver viewer wait-status "Page 1 of 3" >/dev/null || fail "$name: page 1 not shown"
        driver viewer select-zoom 2 >/dev/null || fail "$name: no zoom box"
        for command in 705 704 705; do
          driver viewer command "$command" >/dev/null || fail "$name: the viewer is gone after command $command"
        done
        driver viewer wait-status "Page 2 of 3" >/dev/null || fail "$name: page 2 not shown after Next, Previous, Next"
        ;;
    esac
    driver viewer close --timeout 20 >/dev/null || fail "$name: no viewer window to close"
    expect_vell_ends
  done
}
