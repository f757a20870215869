# Wine tests of start-up and file-type registration.
# shellcheck shell=bash

# ---- start-up -----------------------------------------------------------

case_missing_file() {
  local doc="$work/missing.vel"
  run_expecting_message "$(winpath "$doc")" \
    "$PROGRAM_CAPTION" "Unable to locate file: $(winpath "$doc")"
}

# Prefix switches need their blank: without it the switch is part of the
# path, and a switch alone is a path of two characters.
case_prefix_switch_forms() {
  local doc="$work/missing.vel"
  run_expecting_message "/P$(winpath "$doc")" \
    "$PROGRAM_CAPTION" "Unable to locate file: /P$(winpath "$doc")"
  run_expecting_message "/P" "$PROGRAM_CAPTION" "Unable to locate file: /P"
  run_expecting_message "-pa   $(winpath "$doc")  " \
    "$PROGRAM_CAPTION" "Unable to locate file: $(winpath "$doc")"
}

# A file that is not a document is reported with the program's caption even
# though its title field holds a title, and it is never deleted, whatever
# its delete-when-closed bytes say.
case_not_document() {
  local doc="$work/scratch.vel" text="$work/notes.txt"
  make_doc not-document "$doc"
  run_expecting_message "$(winpath "$doc")" \
    "$PROGRAM_CAPTION" "Invalid File: $(winpath "$doc")\\rThis file isn't a vell document."
  [ -f "$doc" ] || fail "the non-document was deleted"
  make_doc text "$text"
  run_expecting_message "$(winpath "$text")" \
    "$PROGRAM_CAPTION" "Invalid File: $(winpath "$text")\\rThis file isn't a vell document."
}

# The file exists but another process holds it open without sharing.
case_unreadable_file() {
  local doc="$work/locked.vel"
  make_doc plain "$doc"
  start_vell --lock "$(winpath "$doc")" "$(winpath "$doc")"
  expect_message "$PROGRAM_CAPTION" "Unable to open file: $(winpath "$doc")"
  expect_vell_ends
}

# "-bv", two blanks and a path with a blank in it: the path is opened, inner
# blank included, as a building document. Building documents are not held
# to the page limit of complete ones, so this one passes without a message,
# and its delete-when-closed flag then removes it.
case_building_switch() {
  mkdir -p "$work/with blank"
  local doc="$work/with blank/huge report.vel"
  make_doc too-many-pages "$doc"
  run_viewer_and_close "-bv  $(winpath "$doc")"
  [ ! -e "$doc" ] || fail "the building document was not opened and deleted"
}

case_delete_when_closed() {
  local scratch="$work/scratch.vel" kept="$work/kept.vel"
  make_doc delete-when-closed "$scratch"
  run_viewer_and_close "$(winpath "$scratch")"
  [ ! -e "$scratch" ] || fail "the delete-when-closed document is still there"
  make_doc plain "$kept"
  run_viewer_and_close "$(winpath "$kept")"
  [ -f "$kept" ] || fail "a plain document was deleted"
}

# A complete document with more pages than 16-bit page numbers reach is
# refused under its own title, and not deleted although it asks for that.
case_too_many_pages() {
  local doc="$work/huge.vel"
  make_doc too-many-pages "$doc"
  run_expecting_message "$(winpath "$doc")" "Huge Report" \
    "Invalid File: $(winpath "$doc")\\rThis document has more pages than vell can show (32767)."
  [ -f "$doc" ] || fail "the refused document was deleted"
}

# No argument: the open-file dialog in the current directory, showing the
# "*.vel" name and filter and no read-only box; cancelling it ends the
# program.
case_open_dialog_cancelled() {
  mkdir -p "$work/start here"
  start_vell --timeout 40 --cwd "$(winpath "$work/start here")" ""
  driver window --title "Open vell Document" --timeout 20 --controls --cancel \
    >"$work/window.out" || fail "no open-file dialog"
  grep -q '^class=#32770$' "$work/window.out" || fail "the open-file dialog is not a dialog"
  grep -q '^control id=1148 class=Edit visible=1 text=\*\.vel$' "$work/window.out" ||
    fail "the file name does not start as *.vel"
  grep -q '^control id=1137 class=ComboBox visible=1 text=start here$' "$work/window.out" ||
    fail "the dialog does not start in the current directory"
  grep -A1 '^control id=1136 class=ComboBox' "$work/window.out" | grep -q '^  item=\*\.vel$' ||
    fail "the filter is not *.vel"
  grep -q '^control id=1040 class=Button visible=0 ' "$work/window.out" ||
    fail "the read-only box is shown"
  expect_vell_ends
}

# The chosen name becomes the document path: this document is refused under
# its own title, which shows that it was opened.
case_open_dialog_chosen() {
  make_doc too-many-pages "$work/picked.vel"
  start_vell --timeout 40 --cwd "$(winpath "$work")" ""
  driver window --title "Open vell Document" --timeout 20 --set-edit "1148=picked.vel" --ok \
    >"$work/window.out" || fail "no open-file dialog"
  expect_message "Huge Report" \
    "Invalid File: $(winpath "$work/picked.vel")\\rThis document has more pages than vell can show (32767)."
  expect_vell_ends
}

# A self-extracting viewer opens its own document without the open dialog,
# never registers the file type (the check is not even made, so no .vel
# key appears), and never deletes itself although its document asks for it.
case_self_extracting_viewer() {
  reg_clear
  program="$work/scratch report.exe"
  driver make-sfx delete-when-closed "$(winpath "$VELL_EXE")" "$(winpath "$program")" ||
    fail "make-sfx failed"
  run_viewer_and_close ""
  [ -f "$program" ] || fail "the self-extracting viewer deleted itself"
  expect_eq ".vel after a self-extracting start" "(missing)" "$(reg_value .vel)"
  # Its document is the one it shows: this one is refused under its title,
  # with the program's own path as the document path, also after /E.
  program="$work/huge.exe"
  driver make-sfx too-many-pages "$(winpath "$VELL_EXE")" "$(winpath "$program")" ||
    fail "make-sfx failed"
  local refusal="Invalid File: $(winpath "$program")\\rThis document has more pages than vell can show (32767)."
  run_expecting_message "" "Huge Report" "$refusal"
  run_expecting_message "/E" "Huge Report" "$refusal"
  [ -f "$program" ] || fail "the refused self-extracting viewer was deleted"
}

# ---- file-type registration ---------------------------------------------

# On a machine with no entries an ordinary start writes all four; a second
# start finds the extension registered and writes nothing.
case_ordinary_start_registers() {
  local doc="$work/report.vel"
  make_doc plain "$doc"
  reg_clear
  run_viewer_and_close "$(winpath "$doc")"
  expect_registered_by_vell
  driver reg-set "$PROGRAM_ID\\shell\\open\\command" "edited by the test"
  run_viewer_and_close "$(winpath "$doc")"
  expect_eq "open command after a second start" "edited by the test" \
    "$(reg_value "$PROGRAM_ID\\shell\\open\\command")"
}

case_install_switch() {
  reg_clear
  run_silently "-install"
  expect_registered_by_vell
}

case_installverbose_switch() {
  reg_clear
  run_expecting_message "/INSTALLVERBOSE" "$PROGRAM_CAPTION" "vell documents has been registered"
  expect_registered_by_vell
}

case_showreg_report() {
  local exe
  exe=$(winpath "$VELL_EXE")
  reg_clear
  run_silently "-INSTALL"
  run_expecting_message "-SHOWREG" "$PROGRAM_CAPTION" \
    "$(registry_report "$PROGRAM_ID" "$exe %1" "$exe -PA %1")"
}

# Not registered: the message, and the check leaves an empty .vel key.
case_showreg_unregistered() {
  reg_clear
  run_expecting_message "/showreg" "$PROGRAM_CAPTION" \
    ".vel extension IS NOT REGISTERED. Run vell.exe -install to register it."
  expect_eq ".vel after the check" "(unset)" "$(reg_value .vel)"
}

# A missing print command key is created empty by the report, which then
# cannot read a value from it.
case_showreg_print_missing() {
  local exe
  exe=$(winpath "$VELL_EXE")
  reg_clear
  run_silently "-INSTALL"
  driver reg-delete "$PROGRAM_ID\\shell\\print\\command"
  run_expecting_message "-showreg" "$PROGRAM_CAPTION" \
    "$(registry_report "$PROGRAM_ID" "$exe %1" "Unable to open key")"
}

# Another program's .vel is left alone at an ordinary start, shown by
# -SHOWREG, and taken over by -INSTALL.
case_foreign_registration() {
  local doc="$work/report.vel"
  make_doc plain "$doc"
  reg_clear
  driver reg-delete "Other.Viewer"
  driver reg-set .vel "Other.Viewer"
  driver reg-set 'Other.Viewer\shell\open\command' 'C:\other\viewer.exe "%1"'
  run_viewer_and_close "$(winpath "$doc")"
  expect_eq ".vel" "Other.Viewer" "$(reg_value .vel)"
  expect_eq "program identifier key" "(missing)" "$(reg_value "$PROGRAM_ID")"
  run_expecting_message "-SHOWREG" "$PROGRAM_CAPTION" \
    "$(registry_report "Other.Viewer" 'C:\other\viewer.exe "%1"' "Unable to open key")"
  run_silently "-INSTALL"
  expect_registered_by_vell
  driver reg-delete "Other.Viewer"
}

