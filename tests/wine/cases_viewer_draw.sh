# Wine tests of what the viewer window draws and tells: the whole
# unknown-record notice, the fit modes' whole page, and start-up's one
# drawing of page 1.
# shellcheck shell=bash

trap 'if [ $? -ne 0 ]; then driver viewer close --timeout 1 >/dev/null 2>&1 || true; fi; finish_case' EXIT

close_drawn_viewer() {
  driver viewer close >/dev/null || fail "the viewer window did not close"
  expect_vell_ends
}

# The notice is longer than a message's 299 characters: the user reads all
# of it, the download address and the last sentence too.
case_draw_whole_unknown_notice() {
  local doc="$work/unknown.vel"
  driver fault make unknown-record "$(winpath "$doc")" >/dev/null || fail "fault make failed"
  start_vell "$(winpath "$doc")"
  driver viewer wait-status "Page 1 of 2" >/dev/null || fail "the viewer did not open"
  driver viewer command 754 --post >/dev/null || fail "no viewer"
  expect_message "Unknown Record" "vell has encountered a code that is not designed to handle. \
This page may not be completely displayed. There are two things that can cause this: \\r\
1. The print-preview may be corrupt. Try regenerating the document.\\r\
2. You may have an old version of vell.exe on you machine. You can obtain the latest by \
downloading it from the vell download page:\\rhttps://www.vell.example/download\\r\\r\
If the problems persist, please contact your software vendor."
  close_drawn_viewer
}

# ---- start-up ------------------------------------------------------------------

# picture_opens: how often vell has opened the page's picture file so far,
# as Wine's file trace (vell's stderr, kept in trace.log) tells.
picture_opens() { grep -c 'NtCreateFile .*startup-mark\.bmp' "$work/trace.log" || true; }

# Start-up shows the window maximised once and draws page 1 once: it opens
# the page's picture file as often as one redraw does, and the window is
# maximised.
case_draw_startup_draws_once() {
  local doc="$work/picture.vel"
  driver fault make picture-file "$(winpath "$doc")" >/dev/null || fail "fault make failed"
  convert -size 16x16 xc:red "BMP3:$work/startup-mark.bmp"
  wine "$VTDRIVER_EXE" fault env WINEDEBUG=trace+file run --timeout 30 --cwd "$(winpath "$work")" \
    "$(winpath "$program")" "$(winpath "$doc")" >"$work/run.out" 2>"$work/trace.log" </dev/null &
  vell_runner=$!
  driver viewer wait-status "Page 1 of 1" >/dev/null || fail "the viewer did not open"
  sleep 1
  local at_start
  at_start=$(picture_opens)
  expect_eq "maximised" "maximized=1" "$(driver viewer get maximized)"
  driver viewer select-zoom 3 >/dev/null || fail "no zoom box"
  sleep 0.5
  local per_redraw=$(($(picture_opens) - at_start))
  [ "$per_redraw" -gt 0 ] || fail "a redraw opened no picture file: no trace to count"
  expect_eq "picture opens at start-up (one redraw opens $per_redraw)" "$per_redraw" "$at_start"
  close_drawn_viewer
}
