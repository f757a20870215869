# Wine tests of the jump dialog (DLG_JUMP) beyond the viewer's own cases:
# the Escape key and the close box leave the page as it was.
# shellcheck shell=bash

readonly JUMP_CAPTION="Jump to a page"

open_jump_dialog() {
  driver viewer command 756 --post >/dev/null || fail "no viewer window"
  driver window --title "$JUMP_CAPTION" >/dev/null || fail "no jump dialog"
}

case_jump_dialog_escape_and_close() {
  local doc="$work/twelve.vel"
  driver make-viewer-doc twelve-pages "$(winpath "$doc")" || fail "make-viewer-doc failed"
  start_vell "$(winpath "$doc")"
  driver viewer wait-status "Page 1 of 12" >/dev/null || fail "the viewer did not show page 1"
  open_jump_dialog
  driver window --title "$JUMP_CAPTION" --set-edit 101=8 --cancel >/dev/null || fail "Escape"
  open_jump_dialog
  driver window --title "$JUMP_CAPTION" --set-edit 101=9 --close >/dev/null || fail "close box"
  driver viewer state >"$work/state.out" || fail "no viewer state"
  grep -qx 'status=Page 1 of 12' "$work/state.out" || fail "the page changed: $(cat "$work/state.out")"
  driver viewer close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
}
