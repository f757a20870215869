# Wine tests of the password dialog (DLG_PASSWORD): three tries, the texts a
# document can replace, and every way of leaving it.
# shellcheck shell=bash

readonly PASSWORD_CAPTION="Password Required"
readonly WRONG_PASSWORD="Invalid Password."
readonly LAST_WRONG_PASSWORD="Invalid Password.\\rUnable to display document."

# try_password CAPTION TEXT: empties the edit, types TEXT key by key and
# presses Ok (102).
try_password() {
  driver dialog --title "$1" --set "101=" --keys "101=$2" --press 102 >/dev/null ||
    fail "no password dialog titled [$1]"
}

# The viewer window of an accepted document: the document's title over the
# page area (108), which a message box with the same caption has not. It is
# closed, and the program ends.
expect_viewer_then_close() {
  driver window --title "$1" --controls >"$work/viewer.out" || fail "no viewer window [$1]"
  grep -q '^control id=108 ' "$work/viewer.out" || fail "[$1] is not the viewer window"
  driver window --title "$1" --close >/dev/null || fail "the viewer window did not close"
  expect_vell_ends
}

case_password_wrong_wrong_right() {
  local doc="$work/secret.vel"
  make_doc password "$doc"
  start_vell "$(winpath "$doc")"
  driver window --title "$PASSWORD_CAPTION" --controls >"$work/dialog.out" ||
    fail "no password dialog"
  grep -q '^control id=104 class=Static visible=1 text=This document is password protected.\\rPlease type in your password$' \
    "$work/dialog.out" || fail "prompt: $(cat "$work/dialog.out")"
  try_password "$PASSWORD_CAPTION" lion
  expect_message "Secret Report" "$WRONG_PASSWORD"
  try_password "$PASSWORD_CAPTION" "tiger "
  expect_message "Secret Report" "$WRONG_PASSWORD"
  try_password "$PASSWORD_CAPTION" tiger
  expect_viewer_then_close "Secret Report"
}

# A refused entry is selected for the next try: typed with real keys,
# "wrong1", Enter, OK on the message, then "tiger" replaces it and opens.
case_password_retry_starts_clean() {
  local doc="$work/secret.vel"
  make_doc password "$doc"
  start_vell "$(winpath "$doc")"
  driver window --title "$PASSWORD_CAPTION" >/dev/null || fail "no password dialog"
  keys_to "$PASSWORD_CAPTION" w r o n g 1 Return
  expect_message "Secret Report" "$WRONG_PASSWORD"
  keys_to "$PASSWORD_CAPTION" t i g e r Return
  expect_viewer_then_close "Secret Report"
}

case_password_three_wrongs() {
  local doc="$work/secret.vel"
  make_doc password "$doc"
  start_vell "$(winpath "$doc")"
  try_password "$PASSWORD_CAPTION" Tiger
  expect_message "Secret Report" "$WRONG_PASSWORD"
  try_password "$PASSWORD_CAPTION" ""
  expect_message "Secret Report" "$WRONG_PASSWORD"
  try_password "$PASSWORD_CAPTION" tigers
  expect_message "Secret Report" "$LAST_WRONG_PASSWORD"
  # The dialog is gone and no viewer follows: the program simply ends.
  expect_vell_ends
}

# A password of 20 characters fits the edit, whose limit keeps a 21st out.
case_password_twenty_characters() {
  local doc="$work/long.vel"
  make_doc password-20 "$doc"
  start_vell "$(winpath "$doc")"
  driver dialog --title "$PASSWORD_CAPTION" --limit 101 >"$work/limit.out" || fail "no dialog"
  expect_eq "edit limit" "limit=20" "$(cat "$work/limit.out")"
  try_password "$PASSWORD_CAPTION" abcdefghijklmnopqrstu
  expect_viewer_then_close "Long Secret"
}

# The header's label overrides reach the caption, the prompt, both buttons
# and both messages.
case_password_labels_overridden() {
  local doc="$work/geheim.vel" caption="Kennwort erforderlich"
  make_doc password-labels "$doc"
  start_vell "$(winpath "$doc")"
  driver window --title "$caption" --controls >"$work/dialog.out" || fail "no dialog [$caption]"
  grep -q '^control id=104 class=Static visible=1 text=Dieses Dokument ist geschuetzt.\\rBitte Kennwort eingeben$' \
    "$work/dialog.out" || fail "prompt: $(cat "$work/dialog.out")"
  grep -q '^control id=102 class=Button visible=1 text=&Weiter$' "$work/dialog.out" ||
    fail "Ok button: $(cat "$work/dialog.out")"
  grep -q '^control id=103 class=Button visible=1 text=&Abbrechen$' "$work/dialog.out" ||
    fail "Cancel button: $(cat "$work/dialog.out")"
  try_password "$caption" lion
  expect_message "Geheimbericht" "Falsches Kennwort."
  try_password "$caption" lion
  expect_message "Geheimbericht" "Falsches Kennwort."
  try_password "$caption" lion
  expect_message "Geheimbericht" "Falsches Kennwort.\\rDas Dokument bleibt zu."
  expect_vell_ends
}

# Cancel, the Escape key's cancel command and the close box each end the
# program without a message, also after a wrong try.
case_password_cancel_ends() {
  local doc="$work/secret.vel"
  make_doc password "$doc"
  start_vell "$(winpath "$doc")"
  try_password "$PASSWORD_CAPTION" lion
  expect_message "Secret Report" "$WRONG_PASSWORD"
  driver dialog --title "$PASSWORD_CAPTION" --press 103 >/dev/null || fail "no dialog"
  expect_vell_ends

  start_vell "$(winpath "$doc")"
  driver window --title "$PASSWORD_CAPTION" --cancel >/dev/null || fail "Escape did not close it"
  expect_vell_ends

  start_vell "$(winpath "$doc")"
  driver window --title "$PASSWORD_CAPTION" --close >/dev/null || fail "closing did not end it"
  expect_vell_ends
}
