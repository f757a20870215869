# Wine tests of Save as PDF and E-Mail as PDF, read back with poppler
# (pdfinfo, pdffonts, pdftotext). The mail system is the recording
# mapi32.dll of the send cases.
# shellcheck shell=bash

# shellcheck source=send_helpers.sh
source "${BASH_SOURCE[0]%/*}/send_helpers.sh"

readonly CMD_EMAIL_PDF=711

# The PDF of the "pdf-papers" document: one page per document page on its
# own paper, its texts in order, every font embedded as a subset with its
# characters, the title as the PDF's.
expect_papers_pdf() { # PDF
  pdfinfo -f 1 -l 3 "$1" >"$work/info.out" 2>&1 || fail "not a PDF: $(head -c 200 "$1")"
  grep -q '^Title: *Three Papers$' "$work/info.out" || fail "title: $(grep Title "$work/info.out")"
  expect_eq "pages" "3" "$(awk '/^Pages:/ { print $2 }' "$work/info.out")"
  expect_eq "sizes" "612 x 792 pts|841.89 x 595.276 pts|612 x 1008 pts" \
    "$(sed -n 's/^Page *[0-9] size: *//p' "$work/info.out" | sed 's/ (.*//' | paste -sd '|')"
  expect_eq "text order" "First on Letter|Second on A4 landscape|Third at the foot of Legal" \
    "$(pdftotext "$1" - | grep -v '^\s*$' | tr -d '\f' | paste -sd '|')"
  pdffonts "$1" | tail -n +3 >"$work/fonts.out"
  [ -s "$work/fonts.out" ] || fail "no fonts in the PDF"
  ! grep -v ' yes yes yes ' "$work/fonts.out" >/dev/null ||
    fail "a font not embedded as a subset with its characters:\n$(cat "$work/fonts.out")"
}

no_temporary_files() { # FOLDER
  expect_eq "temporary files left" "" "$(find "$1" -name '*.tmp' -o -name '~D*.pdf' | paste -sd ' ')"
}

# Save through the dialog with a ".Pdf" name: the PDF is whole, and the
# document file is untouched.
case_pdf_save() {
  local doc="$work/papers.vel" target="$work/Papers.Pdf"
  send_doc pdf-papers "$doc"
  cp "$doc" "$work/before.vel"
  start_vell "$(winpath "$doc")"
  save_as "Three Papers" "$(winpath "$target")"
  wait_gone "Save File"
  driver dialog-steps --title "Three Papers" settle >/dev/null
  close_viewer "Three Papers"
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
  no_temporary_files "$work"
  expect_papers_pdf "$target"
}

# A damaged page: the viewer's own notice, no file, and an existing file of
# that name kept as it was. A folder that cannot take the PDF's temporary
# file (every name it would use is taken by a folder): "Unable to save
# file.", and nothing written.
case_pdf_save_failures() {
  local doc="$work/damaged.vel" target="$work/damaged.pdf" blocked="$work/blocked.pdf"
  send_doc pdf-damaged "$doc"
  echo "older file" >"$target"
  start_vell "$(winpath "$doc")"
  save_as "Damaged Report" "$(winpath "$target")"
  driver dialog-steps --title "Damaged Report" msgbox-click 6 >/dev/null || fail "no question about replacing"
  driver msgbox --timeout 30 >"$work/msgbox.out" || fail "no message for the damaged page"
  grep -q '^text=vell has encountered a code that is not designed to handle' "$work/msgbox.out" ||
    fail "not the viewer's notice: $(cat "$work/msgbox.out")"
  expect_eq "the existing file" "older file" "$(cat "$target")"
  no_temporary_files "$work"
  for n in $(seq 1 100); do mkdir -p "$blocked.$n.tmp"; done
  save_as "Damaged Report" "$(winpath "$blocked")"
  expect_message "Damaged Report" "Unable to save file."
  close_viewer "Damaged Report"
  [ ! -e "$blocked" ] || fail "a PDF was written"
}

# E-Mail as PDF by the keyboard (File, D): the attachment is a whole PDF
# named after the title, from a "~D" temporary file that is gone
# afterwards; the document file is untouched.
case_pdf_email() {
  use_recording_mapi
  local doc="$work/papers.vel"
  send_doc pdf-papers "$doc"
  cp "$doc" "$work/before.vel"
  start_vell "$(winpath "$doc")"
  driver viewer menu-keys f d || fail "no E-Mail as PDF in the File menu"
  driver dialog-steps --title "Three Papers" settle >/dev/null
  close_viewer "Three Papers"
  expect_eq "attachment name" "file0.name=Three Papers.pdf" "$(grep '^file0.name=' "$mapi_log")"
  grep -Eq '^file0.path=C:\\users\\.*\\Temp\\~D[0-9]{6}\.pdf$' "$mapi_log" ||
    fail "attachment path: $(grep '^file0.path=' "$mapi_log")"
  expect_eq "recipients" "recip_count=2" "$(grep '^recip_count=' "$mapi_log")"
  expect_papers_pdf "$work/kept/attach0"
  expect_eq "temporary PDFs left" "0" \
    "$(find "$WINEPREFIX/drive_c/users" -name '~D*.pdf*' 2>/dev/null | wc -l)"
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
}

# A received copy offers neither Save nor E-Mail as PDF: File, D and
# File, S find nothing (the menu stays open until Escape), and the mail
# system is never called.
case_pdf_received_copy() {
  use_recording_mapi
  local doc="$work/copy.vel"
  send_doc pdf-copy "$doc"
  start_vell "$(winpath "$doc")"
  driver viewer menu-keys f d --escape || fail "no viewer"
  driver viewer menu-keys f s --escape || fail "no viewer"
  driver window --title "Save File" --timeout 1 >/dev/null 2>&1 && fail "Save is offered"
  close_viewer "Three Papers"
  expect_eq "mail system calls" "" "$(cat "$mapi_log")"
}

# While building, E-Mail as PDF answers with E-Mail's message.
case_pdf_building_refuses() {
  use_recording_mapi
  local doc="$work/papers.vel"
  send_doc pdf-papers "$doc"
  start_vell "/BV $(winpath "$doc")"
  driver viewer command $CMD_EMAIL_PDF --post || fail "no viewer"
  expect_message "Three Papers" "You can't e-mail until the document has finished building."
  close_viewer "Three Papers"
  expect_eq "mail system calls" "" "$(cat "$mapi_log")"
}
