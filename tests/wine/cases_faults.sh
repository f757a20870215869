# Wine tests of faults around vell: a building document cut in the middle
# of a page, a read-only document, a missing or crowded temporary folder, no
# mapi32.dll, and documents at the limits (32767 pages, a page of 10 MB).
# In every case vell shows its message or a sound outcome, ends with exit 0
# when closed, and the document file keeps every byte.
# shellcheck shell=bash

# Wine's temporary folder is C:\users\NAME\Temp, NAME the Unix user.
readonly PREFIX_TEMP="$WINEPREFIX/drive_c/users/$(id -un)/Temp"
readonly CMD_EMAIL=708 CMD_SAVE=710 CMD_LAST=755
readonly PAGE_AREA=108

# ---- helpers ------------------------------------------------------------

fault_doc() { driver fault make "$1" "$(winpath "$2")" || fail "fault make $1 failed"; }

# remember FILE / expect_unchanged FILE: the file's checksum stays.
remember() { sha256sum <"$1" >"$work/$(basename "$1").sum"; }
expect_unchanged() {
  expect_eq "checksum of $(basename "$1")" "$(cat "$work/$(basename "$1").sum")" "$(sha256sum <"$1")"
}

# start_vell_env NAME=VALUE... -- COMMAND-TAIL: start_vell with environment
# variables set for vell.exe alone.
start_vell_env() {
  local settings=()
  while [ "$1" != "--" ]; do settings+=("$1"); shift; done
  shift
  driver fault env "${settings[@]}" run --timeout 90 "$(winpath "$program")" "$1" >"$work/run.out" &
  vell_runner=$!
}

# red_pixels TITLE [COLOUR]: pixels of that colour (RRGGBB, red unless
# given) in the page area.
red_pixels() {
  driver area-colour --title "$1" --id $PAGE_AREA --colour "${2:-FF0000}" | sed -n 's/^pixels=//p'
}

# wait_for_colour TITLE COLOUR: up to 10 s until the page area shows it.
wait_for_colour() {
  local n
  for _ in $(seq 1 20); do
    n=$(red_pixels "$1" "$2")
    [ "${n:-0}" -gt 0 ] && return 0
    sleep 0.5
  done
  return 1
}

close_viewer() {
  driver viewer close >/dev/null || fail "the viewer window did not close"
  expect_vell_ends
}

# ---- a building document cut mid-page -------------------------------------

# The generator announces a page whose bytes run past the end of the file:
# the viewer draws what is there (the red box before the cut, never the
# blue one after it), takes a second announcement beyond the file's end,
# keeps answering and closes.
case_fault_building_cut_page() {
  local doc="$work/cut.vel"
  fault_doc cut-building "$doc"
  remember "$doc"
  start_vell "/BV $(winpath "$doc")"
  # No page has been announced: the header's page count does not count yet.
  driver viewer wait-status "1 of ?  Building 1" >/dev/null || fail "no building viewer"
  expect_eq "red before any page message" "0" "$(red_pixels "Cut Building")"
  driver fault page-added 261 || fail "the page message was not taken"
  wait_for_colour "Cut Building" FF0000 || fail "the page's first records were not drawn"
  expect_eq "blue from beyond the cut" "0" "$(red_pixels "Cut Building" 0000FF)"
  driver fault page-added 99999999 || fail "the second page message was not taken"
  driver viewer command $CMD_LAST >/dev/null || fail "the viewer stopped answering"
  expect_eq "status" "status=2 of ?  Building 3" "$(driver viewer get status)"
  expect_eq "red on the page beyond the file" "0" "$(red_pixels "Cut Building")"
  close_viewer
  expect_unchanged "$doc"
}

# ---- a read-only document ----------------------------------------------------

# The document cannot be written at all: no write permission and, for root
# (whom permissions do not stop), the immutable attribute. It is kept in a
# folder of its own outside the case's work folder, which is emptied at the
# start of a case with a plain rm.
readonly LOCKED_DIR="$VELL_RIG/fault-locked"
unlock_documents() {
  if [ -d "$LOCKED_DIR" ]; then
    chattr -i "$LOCKED_DIR"/* 2>/dev/null || true
    rm -rf "$LOCKED_DIR"
  fi
}

# E-mail of the .vel file and Save as .vel from the viewer, with the
# document read-only: both go through with copies marked as copies, the
# viewer keeps answering, and the document keeps every byte.
case_fault_read_only_document() {
  use_recording_mapi
  unlock_documents
  trap 'unlock_documents; finish_case' EXIT
  mkdir -p "$LOCKED_DIR"
  local doc="$LOCKED_DIR/report.vel" target="$work/copy.vel"
  send_doc email-vel-kept "$doc"
  chmod a-w "$doc"
  if [ "$(id -u)" = 0 ]; then chattr +i "$doc" || fail "cannot make the document read-only for root"; fi
  ( : >>"$doc" ) 2>/dev/null && fail "the document is still writable"
  remember "$doc"
  start_vell "$(winpath "$doc")"
  driver dialog-steps --title "Quarterly Report" command $CMD_EMAIL >/dev/null || fail "no viewer window"
  # The command is posted; the e-mail is done once the log-off is written.
  for _ in $(seq 1 240); do grep -qx 'call=MAPILogoff' "$mapi_log" && break; sleep 0.25; done
  expect_eq "calls" "call=MAPILogon|call=MAPISendMail|call=MAPILogoff" \
    "$(grep '^call=' "$mapi_log" | paste -sd '|')"
  grep -qx 'result=0' "$mapi_log" || fail "the send failed"
  # The document could not take the copy mark, so a marked temporary copy
  # went instead: only the copy flag (offset 232) differs, and the copy is
  # gone afterwards.
  grep -q '^file0.path=.*\\~D[0-9]*\.vel$' "$mapi_log" || fail "attachment: $(grep '^file0.path' "$mapi_log")"
  expect_eq "bytes changed in the attachment" "233 " "$(changed_offsets "$doc" "$work/kept/attach0")"
  expect_eq "temporary copies left" "0" "$(find "$WINEPREFIX/drive_c/users" -name '~D*.vel' 2>/dev/null | wc -l)"
  driver dialog-steps --title "Quarterly Report" command $CMD_SAVE >/dev/null
  driver window --title "Save File" --set-edit "1148=$(winpath "$target")" >/dev/null ||
    fail "no save dialog"
  driver dialog-steps --title "Save File" command 1 >/dev/null
  for _ in $(seq 1 240); do [ -s "$target" ] && break; sleep 0.25; done
  driver dialog-steps --title "Quarterly Report" settle >/dev/null || fail "the viewer stopped answering"
  [ -s "$target" ] || fail "no copy saved"
  close_viewer
  expect_unchanged "$doc"
  # The saved copy is the whole document, marked as a copy in its own header.
  expect_eq "bytes changed in the saved copy" "233 " "$(changed_offsets "$doc" "$target")"
}

# ---- the temporary folder -----------------------------------------------------

readonly MISSING_TEMP='Z:\nonexistent\vell-temp'

# A picture is drawn through a temporary "~DB" file. With TMP and TEMP
# naming a folder that does not exist, the page shows without it.
case_fault_temp_missing_picture() {
  local doc="$work/picture.vel"
  fault_doc red-picture "$doc"
  remember "$doc"
  # The same page with a temporary folder shows the picture.
  start_vell "$(winpath "$doc")"
  wait_for_colour "Red Picture" FF0000 || fail "the picture is not shown at all"
  wait_for_colour "Red Picture" 00FF00 || fail "the green box is not shown"
  close_viewer
  start_vell_env "TMP=$MISSING_TEMP" "TEMP=$MISSING_TEMP" -- "$(winpath "$doc")"
  # The window shows before its status text is set: wait for the text.
  driver viewer wait-status "Page 1 of 1" >/dev/null || fail "the viewer did not show page 1"
  # The green box before the picture shows: the page has been drawn.
  wait_for_colour "Red Picture" 00FF00 || fail "the page is not drawn"
  expect_eq "picture pixels" "0" "$(red_pixels "Red Picture")"
  close_viewer
  expect_unchanged "$doc"
}

# E-mail as a self-extracting viewer needs a temporary "~D" file too.
case_fault_temp_missing_email_exe() {
  use_recording_mapi
  local doc="$work/report.vel"
  send_doc email-exe "$doc"
  remember "$doc"
  start_vell_env "TMP=$MISSING_TEMP" "TEMP=$MISSING_TEMP" -- "/E $(winpath "$doc")"
  expect_message "Quarterly Report" \
    "Unable to create exe attachment. Can't obtain temp .exe name for sending."
  expect_vell_ends
  expect_eq "calls" "" "$(cat "$mapi_log")"
  expect_unchanged "$doc"
}

# Every "~DB" picture name taken: the page shows without its picture, and
# none of the files that were there is touched.
case_fault_temp_picture_names_taken() {
  [ -d "$PREFIX_TEMP" ] || fail "no temporary folder $PREFIX_TEMP"
  # shellcheck disable=SC2064  # the folder is fixed now
  trap "rm -f '$PREFIX_TEMP'/~DB0[0-9][0-9][0-9][0-9].bmp; finish_case" EXIT
  (cd "$PREFIX_TEMP" && touch ~DB{00001..09999}.bmp)
  local doc="$work/picture.vel"
  fault_doc red-picture "$doc"
  remember "$doc"
  start_vell "$(winpath "$doc")"
  driver viewer wait-status "Page 1 of 1" >/dev/null || fail "the viewer did not show page 1"
  # The green box before the picture shows: the page has been drawn.
  wait_for_colour "Red Picture" 00FF00 || fail "the page is not drawn"
  expect_eq "picture pixels" "0" "$(red_pixels "Red Picture")"
  close_viewer
  expect_eq "names still taken, all empty" "9999" \
    "$(find "$PREFIX_TEMP" -maxdepth 1 -name '~DB0????.bmp' -empty | wc -l)"
  expect_unchanged "$doc"
}

# ---- no mail system library ------------------------------------------------------

# No mapi32.dll in the system directory, and Wine's own one ruled out:
# the e-mail fails with a message, the document keeps its header.
case_fault_mapi_missing() {
  [ -f "$SYSTEM_MAPI" ] || fail "no mapi32.dll in the prefix"
  mv "$SYSTEM_MAPI" "$work/mapi32.dll.away"
  # shellcheck disable=SC2064  # the paths are fixed now
  trap "mv -f '$work/mapi32.dll.away' '$SYSTEM_MAPI'; finish_case" EXIT
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mapi32=n"
  local doc="$work/report.vel"
  send_doc email-vel-kept "$doc"
  remember "$doc"
  run_expecting_message "/E $(winpath "$doc")" "Quarterly Report" "Unable to obtain mapi session handle"
  expect_unchanged "$doc"
}

# ---- documents at the limits --------------------------------------------------------

# 32767 pages: page 1 first, the last page at once with its red box.
case_fault_max_pages() {
  local doc="$work/many.vel"
  fault_doc max-pages "$doc"
  remember "$doc"
  start_vell --timeout 60 "$(winpath "$doc")"
  driver viewer wait-status "Page 1 of 32767" --timeout 30 >/dev/null || fail "page 1 not shown"
  expect_eq "red on page 1" "0" "$(red_pixels "Many Pages")"
  local started elapsed
  started=$(date +%s%N)
  driver viewer command $CMD_LAST >/dev/null || fail "no viewer"
  expect_eq "status" "status=Page 32767 of 32767" "$(driver viewer get status)"
  elapsed=$((($(date +%s%N) - started) / 1000000))
  echo "last page after ${elapsed} ms"
  [ "$elapsed" -lt 5000 ] || fail "the last page took ${elapsed} ms"
  wait_for_colour "Many Pages" FF0000 || fail "the last page's box is not shown"
  close_viewer
  expect_unchanged "$doc"
}

# A page of more than 10 MB of records is replayed to its end: the red box
# after them shows.
case_fault_ten_mb_page() {
  local doc="$work/big.vel"
  fault_doc ten-mb-page "$doc"
  [ "$(stat -c %s "$doc")" -gt $((10 * 1024 * 1024)) ] || fail "the document is too small"
  remember "$doc"
  start_vell --timeout 60 "$(winpath "$doc")"
  driver viewer wait-status "Page 1 of 1" --timeout 30 >/dev/null || fail "the page is not shown"
  wait_for_colour "Ten MB Page" FF0000 || fail "the box at the page's end is not shown"
  close_viewer
  expect_unchanged "$doc"
}
