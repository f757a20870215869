# Wine tests of paths: a document named relative to the current directory
# stays the same file after the save dialog has moved that directory, and
# the viewer works from a folder with blanks in its path, as it does in
# "C:\Program Files", however Windows hands it its command line.
# shellcheck shell=bash
# shellcheck source=cases_send.sh
source "$here/cases_send.sh"

# Opened as "scratch.vel" from the folder start; saved into target (going
# there in the dialog moves the current directory under Wine), which
# holds a scratch.vel of its own. The copy is of the open document, and the
# delete-when-closed document that goes at the end is the open one.
case_relative_document_path() {
  mkdir -p "$work/start" "$work/target"
  send_doc email-vel "$work/start/scratch.vel"
  cp "$work/start/scratch.vel" "$work/before.vel"
  make_doc plain "$work/target/scratch.vel"
  cp "$work/target/scratch.vel" "$work/other.vel"
  start_vell --cwd "$(winpath "$work/start")" "scratch.vel"
  # The user goes into the target folder in the dialog, then names the copy.
  save_as "Quarterly Report" "$(winpath "$work/target")"
  driver window --title "Save File" --set-edit "1148=copy.vel" >/dev/null || fail "the save dialog went away"
  driver dialog-steps --title "Save File" command 1 || fail "the save dialog went away"
  wait_gone "Save File"
  driver dialog-steps --title "Quarterly Report" settle >/dev/null
  expect_eq "bytes changed in the copy" "115 233 " \
    "$(changed_offsets "$work/before.vel" "$work/target/copy.vel")"
  close_viewer "Quarterly Report"
  [ ! -e "$work/start/scratch.vel" ] || fail "the open document was not deleted"
  cmp -s "$work/target/scratch.vel" "$work/other.vel" || fail "the other scratch.vel was touched"
}

# vell copied under a folder with a blank, with a copy of vell beside that
# folder where Windows looks first for an unquoted path ("...\vell.exe" for
# "...\vell app\vell.exe"): -INSTALL registers the path in quotation marks,
# -SHOWREG shows it so, and the shell opens a document with the right
# program. A command line with the unquoted path opens it too.
case_program_path_with_blanks() {
  reg_clear
  mkdir -p "$work/vell app"
  program="$work/vell app/vell.exe"
  cp "$VELL_EXE" "$program"
  cp "$VELL_EXE" "$work/vell.exe"
  local exe doc="$work/report.vel"
  exe=$(winpath "$program")
  run_silently "-INSTALL"
  expect_eq "open command" "\"$exe\" %1" "$(reg_value "$PROGRAM_ID\\shell\\open\\command")"
  expect_eq "print command" "\"$exe\" -PA %1" "$(reg_value "$PROGRAM_ID\\shell\\print\\command")"
  # The report is cut at the message box's 299 characters, within the
  # print command for a path this long.
  start_vell "-SHOWREG"
  driver msgbox --timeout 20 >"$work/msgbox.out" || fail "no registry report"
  expect_vell_ends
  grep -qF "\rOpen: \"$exe\" %1\rPrint: \"$exe\"" "$work/msgbox.out" ||
    fail "report: $(cat "$work/msgbox.out")"
  make_doc plain "$doc"

  driver shell --timeout 30 open "$(winpath "$doc")" >"$work/run.out" &
  vell_runner=$!
  close_viewer "Quarterly Report"

  driver run --timeout 30 --unquoted "$exe" "$(winpath "$doc")" >"$work/run.out" &
  vell_runner=$!
  close_viewer "Quarterly Report"
  reg_clear
}
