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
