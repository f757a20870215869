# Wine tests of where vell.exe takes its libraries from: copies of system
# libraries planted beside the program (a self-extracting viewer in a
# downloads folder) are never loaded, also not as the libraries of the
# common dialogs.
# shellcheck shell=bash

# vell.exe in a downloads folder with comctl32.dll and winspool.drv beside
# it (any DLL will do: one that loaded would show in Wine's log), native
# libraries preferred: the viewer window, the save dialog (comdlg32, which
# imports both) and the end load none of them.
case_planted_libraries_ignored() {
  local downloads="$work/downloads" planted
  mkdir -p "$downloads"
  cp "$VELL_EXE" "$downloads/vell.exe"
  for planted in comctl32.dll winspool.drv; do cp "$RECORDING_MAPI" "$downloads/$planted"; done
  make_doc plain "$downloads/report.vel"
  program="$downloads/vell.exe"
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;comctl32,winspool.drv=n,b"
  # Wine's loader log of vell.exe goes to the case log.
  WINEDEBUG=+loaddll driver run --timeout 30 --cwd "$(winpath "$downloads")" \
    "$(winpath "$program")" "$(winpath "$downloads/report.vel")" >"$work/run.out" &
  vell_runner=$!
  driver dialog-steps --title "Quarterly Report" command 710 || fail "no viewer window"
  driver window --title "Save File" --cancel >/dev/null || fail "no save dialog"
  driver window --title "Quarterly Report" --close >/dev/null || fail "the viewer did not close"
  expect_vell_ends
  grep -qi 'comdlg32.dll" at' "$log" || fail "the common dialogs were not loaded"
  if grep -i 'Loaded.*downloads' "$log" | grep -vi 'vell.exe"' >"$work/planted.txt"; then
    fail "planted libraries loaded: $(cat "$work/planted.txt")"
  fi
}
