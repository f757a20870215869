# Wine tests of the MSI packages (installer/): silent install, what it puts
# in place, the shell opening a document with the installed viewer, upgrade,
# repair and uninstall, and the version resources of the programs.
# shellcheck shell=bash

readonly INSTALL_DIR="$WINEPREFIX/drive_c/Program Files/vell Print and Preview"
readonly INSTALLED_EXE='C:\Program Files\vell Print and Preview\vell.exe'
readonly UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# msiexec ARGS...: runs Wine's msiexec silently; fails the case unless it
# succeeds.
msiexec() {
  echo "$(date +%T.%3N) step: msiexec $*" >>"$log"
  timeout 180 wine msiexec "$@" </dev/null >>"$log" 2>&1 || fail "msiexec $* failed (exit $?)"
}

package() { [ -f "$1" ] || fail "no package $1 (the build makes it with wixl)"; winpath "$1"; }

# A case that failed half-way may have left a package installed: each case
# starts from a prefix without one.
uninstall_left_packages() {
  local msi
  for msi in "$VELL_PACKAGES/vell-$VELL_VERSION-x64.msi" "$VELL_PACKAGES/older/vell-0.1.0-x64.msi"; do
    timeout 180 wine msiexec /x "$(winpath "$msi")" /qn </dev/null >>"$log" 2>&1 || true
  done
}

# reg_export KEY FILE: the key's tree as text (Wine's reg writes UTF-16).
reg_export() {
  wine reg export "$1" "$2.utf16" /y </dev/null >>"$log" 2>&1 || { : >"$2"; return; }
  iconv -f UTF-16 -t UTF-8 "$2.utf16" | tr -d '\r' >"$2"
  rm -f "$2.utf16"
}

# Every uninstall entry named "vell Print and Preview", one line each:
# version, publisher and icon (the export doubles backslashes).
vell_uninstall_entries() {
  reg_export "$UNINSTALL_KEY" "$work/uninstall.reg"
  awk -F'"' '/^\[/ { if (name == "vell Print and Preview") print version "|" publisher "|" icon
                     name = version = publisher = icon = "" }
             $2 == "DisplayName" { name = $4 }
             $2 == "DisplayVersion" { version = $4 }
             $2 == "Publisher" { publisher = $4 }
             $2 == "DisplayIcon" { icon = $4 }
             END { if (name == "vell Print and Preview") print version "|" publisher "|" icon }' \
    "$work/uninstall.reg" | sed 's/\\\\/\\/g'
}

# without_installer_books FILE: the listing less the empty keys Windows
# Installer makes for its own books on the first install and keeps (Products,
# Features, UpgradeCodes, UserData...). A key named by a packed product,
# component or upgrade code (32 hex digits) is a package's, and stays.
without_installer_books() {
  awk 'BEGIN { RS = "" }
       !(index($0, "\n") == 0 && /^\[.*\\Installer(\\|\])/ && !/[0-9A-Fa-f]{32}/) { print $0 "\n" }' \
    "$1" >"$1.kept" && mv "$1.kept" "$1"
}

# The file and registry listings of the prefix, to compare before and after:
# every file of drive C: but the temporary folders, and the machine's and
# the user's software keys.
snapshot() { # NAME
  (cd "$WINEPREFIX/drive_c" && find . -path ./windows/temp -prune -o \
    -path './users/*/AppData/Local/Temp' -prune -o -print | sort) >"$work/$1.files"
  reg_export 'HKLM\Software' "$work/$1.hklm"
  without_installer_books "$work/$1.hklm"
  reg_export 'HKCU\Software' "$work/$1.hkcu"
  grep -q '^\[HKEY_LOCAL_MACHINE\\Software\\Classes\]$' "$work/$1.hklm" ||
    fail "the listing of HKLM\\Software ($1) is not complete"
  grep -q '^\[HKEY_CURRENT_USER\\Software\]$' "$work/$1.hkcu" ||
    fail "the listing of HKCU\\Software ($1) is not complete"
}

# The .vel file type as both the package and the viewer write it.
expect_file_type_of_installed_viewer() {
  expect_eq ".vel" "$PROGRAM_ID" "$(reg_value .vel)"
  expect_eq "program identifier" "$PROGRAM_ID" "$(reg_value "$PROGRAM_ID")"
  expect_eq "open command" "\"$INSTALLED_EXE\" %1" "$(reg_value "$PROGRAM_ID\\shell\\open\\command")"
  expect_eq "print command" "\"$INSTALLED_EXE\" -PA %1" \
    "$(reg_value "$PROGRAM_ID\\shell\\print\\command")"
}

# Silent install: the program, the Start-menu shortcut, the file type and
# the uninstall entry; the same entries as the installed viewer's -INSTALL;
# the shell opens a document with the installed viewer. Silent uninstall
# then leaves the file and registry listings as they were before.
case_msi_install_and_uninstall() {
  local msi doc="$work/report.vel"
  msi=$(package "$VELL_PACKAGES/vell-$VELL_VERSION-x64.msi")
  make_doc plain "$doc"
  uninstall_left_packages
  reg_clear
  snapshot before

  msiexec /i "$msi" /qn
  cmp -s "$VELL_EXE" "$INSTALL_DIR/vell.exe" || fail "vell.exe is not installed in Program Files"
  local converter
  converter="$(dirname "$VELL_EXE")/vellconvert.exe"
  [ ! -f "$converter" ] || cmp -s "$converter" "$INSTALL_DIR/vellconvert.exe" ||
    fail "vellconvert.exe is not installed in Program Files"
  # Wine's installer puts the per-machine shortcut into the user's menu.
  ls "$WINEPREFIX"/drive_c/{ProgramData,users/*/AppData/Roaming}/Microsoft/Windows/'Start Menu'/Programs/'vell Print and Preview.lnk' \
    >"$work/shortcut.out" 2>/dev/null || true
  expect_eq "Start-menu shortcuts" 1 "$(wc -l <"$work/shortcut.out")"
  expect_eq "uninstall entry" "$VELL_VERSION|vell|$INSTALLED_EXE,0" "$(vell_uninstall_entries)"
  expect_file_type_of_installed_viewer
  driver run --timeout 15 "$INSTALLED_EXE" "-INSTALL" >"$work/run.out" &
  vell_runner=$!
  expect_vell_ends
  expect_file_type_of_installed_viewer

  driver shell --timeout 60 open "$(winpath "$doc")" >"$work/run.out" &
  vell_runner=$!
  driver window --title "Quarterly Report" --timeout 30 >/dev/null || fail "the shell opened no viewer"
  pgrep -af 'Program Files.vell Print and Preview.vell\.exe' >"$work/processes.out" ||
    fail "the viewer the shell started is not the installed one: $(pgrep -af 'vell\.exe' | tr '\n' ' ')"
  driver viewer close --timeout 20 >/dev/null || fail "no viewer window to close"
  expect_vell_ends

  msiexec /x "$msi" /qn
  snapshot after
  diff "$work/before.files" "$work/after.files" >"$work/files.diff" ||
    fail "files changed by install and uninstall: $(head -c 600 "$work/files.diff")"
  for tree in hklm hkcu; do
    diff "$work/before.$tree" "$work/after.$tree" >"$work/$tree.diff" ||
      fail "$tree changed by install and uninstall: $(head -c 600 "$work/$tree.diff")"
  done
}

# An older package, then this version's over it: one entry, of this
# version. The same version again repairs a missing program and still
# leaves one entry. Uninstall removes it all.
case_msi_upgrade_and_repair() {
  local msi older
  msi=$(package "$VELL_PACKAGES/vell-$VELL_VERSION-x64.msi")
  older=$(package "$VELL_PACKAGES/older/vell-0.1.0-x64.msi")
  uninstall_left_packages
  reg_clear
  msiexec /i "$older" /qn
  expect_eq "uninstall entry of the older package" "0.1.0|vell|$INSTALLED_EXE,0" "$(vell_uninstall_entries)"
  msiexec /i "$msi" /qn
  expect_eq "uninstall entry after the upgrade" "$VELL_VERSION|vell|$INSTALLED_EXE,0" \
    "$(vell_uninstall_entries)"
  cmp -s "$VELL_EXE" "$INSTALL_DIR/vell.exe" || fail "vell.exe is not installed after the upgrade"

  rm -f "$INSTALL_DIR/vell.exe"
  msiexec /i "$msi" /qn
  cmp -s "$VELL_EXE" "$INSTALL_DIR/vell.exe" || fail "installing again did not repair vell.exe"
  expect_eq "uninstall entry after installing again" "$VELL_VERSION|vell|$INSTALLED_EXE,0" \
    "$(vell_uninstall_entries)"

  msiexec /x "$msi" /qn
  [ ! -e "$INSTALL_DIR" ] || fail "the program folder is left after uninstall"
  expect_eq "uninstall entries after uninstall" "" "$(vell_uninstall_entries)"
  expect_eq ".vel after uninstall" "(missing)" "$(reg_value .vel)"
}

# Every Windows program carries the product name, the project version and
# its own description.
case_version_resources() {
  local bin exe description
  bin=$(dirname "$VELL_EXE")
  for exe in vell:"vell Print and Preview" vellrender:"vell page renderer" \
    vellgen:"vell demo report generator" vellmake:"vell document compiler" \
    velldump:"vell document describer" vellconvert:"vell document converter"; do
    description=${exe#*:}
    exe=${exe%%:*}
    # vellconvert.exe only where the Windows build makes it.
    [ "$exe" != vellconvert ] || [ -f "$bin/$exe.exe" ] || continue
    driver file-version "$(winpath "$bin/$exe.exe")" >"$work/$exe.version" ||
      fail "$exe.exe has no version resource"
    expect_eq "$exe.exe version resource" \
      "fixed=$VELL_VERSION.0 product=vell Print and Preview version=$VELL_VERSION description=$description " \
      "$(tr '\n' ' ' <"$work/$exe.version")"
  done
}
