#!/usr/bin/env bash
# Shared helpers of the Wine tests, sourced by run_case.sh before a case file.
#
# vell.exe is always started through "vtdriver run", which passes the command
# tail exactly as written and ends the program if it is still running at its
# timeout; a case that expects no message therefore fails by timeout when a
# message box appears. Messages are read and confirmed with "vtdriver msgbox",
# which prints carriage returns as \r.
# shellcheck source=rig_state.sh
source "$(dirname "${BASH_SOURCE[0]}")/rig_state.sh"
# shellcheck source=holder.sh
source "$(dirname "${BASH_SOURCE[0]}")/holder.sh"

# Restarts the prefix's wineserver (for a case that changes a setting Wine
# reads only when it starts) and the desktop holder with it, and records
# the new processes in the rig's environment file, so the cases after this
# one find the rig up as set-up left it.
restart_prefix() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -p </dev/null >>"$VELL_RIG/wineserver.log" 2>&1
  start_desktop_holder "$VELL_RIG" "$(dirname "$VTDRIVER_EXE")/vthold.exe" >>"$log" 2>&1 ||
    fail "the desktop holder did not come back"
  VELL_HOLD_PID=$hold_pid
  VELL_WINESERVER_PID=$(wineserver_pid || true)
  sed -i -e "s/^VELL_HOLD_PID=.*/VELL_HOLD_PID='$VELL_HOLD_PID'/" \
    -e "s/^VELL_WINESERVER_PID=.*/VELL_WINESERVER_PID='$VELL_WINESERVER_PID'/" "$VELL_RIG/wine-env.sh"
}

work="$VELL_RIG/work/$case_name"
rm -rf "$work"
mkdir -p "$work"
log="$work/wine.log"

readonly PROGRAM_CAPTION="vell Print and Preview"
readonly PROGRAM_ID="vell Print Preview Document"

# ---- helpers ------------------------------------------------------------

# The Windows form of a Unix path: Wine maps drive Z: to the root.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Runs vtdriver; each step is logged with its time before it runs, and a
# failure with its exit code, so a case that fails shows which step did and
# how (the driver adds what it waited for and what it saw).
driver() {
  local rc=0 start size
  echo "$(date +%T.%3N) step: vtdriver $*" >>"$log"
  start=$(date +%s%N)
  size=$(stat -c %s "$log")
  wine "$VTDRIVER_EXE" "$@" </dev/null 2>>"$log" || rc=$?
  [ $rc = 0 ] && return 0
  # Every failing step of the driver says why; an exit with nothing said
  # is Wine's loader failing before the driver ran (docs/testing.md).
  if [ "$(stat -c %s "$log")" = "$size" ]; then
    local ms=$((($(date +%s%N) - start) / 1000000))
    echo "$(date +%T.%3N) the Wine process printed nothing and ended after $ms ms$([ $ms -lt 200 ] &&
      echo ': too soon for vtdriver.exe to have run, Wine failed to start it')" >>"$log"
  fi
  echo "$(date +%T.%3N) vtdriver $1 exited with $rc; failed step: vtdriver $* (exit $rc)" >>"$log"
  return $rc
}

# What vell.exe (the program started last) did: its exit code, a crash, or
# that it still runs.
vell_report() {
  if [ -z "${vell_runner:-}" ] && [ ! -s "$work/run.out" ]; then
    echo "not started by this case"
  elif [ -n "${vell_runner:-}" ] && kill -0 "$vell_runner" 2>/dev/null; then
    echo "still running"
  else
    local out code
    out=$(tr '\n' ' ' <"$work/run.out" 2>/dev/null)
    code=$(sed -n 's/^exit=//p' "$work/run.out" 2>/dev/null)
    if [ -n "$code" ] && [ "$code" -ge 3221225472 ] 2>/dev/null; then
      printf '%s(crashed: exception 0x%08X)' "$out" "$code"
    else
      echo "${out:-no exit code: the runner ended without one}"
    fi
  fi
}

# Everything a failing case knows, on stderr: what the last driver step
# waited for and saw, the driver's exit code, vell.exe's exit code and
# Wine's crash report, the rig's processes, a screenshot of the display,
# and the end of the case's log.
failure_report() {
  set +e
  local shot="$work/failure.png" waited saw step crash
  if [ -n "${DISPLAY:-}" ] && timeout 10 import -display "$DISPLAY" -window root "$shot" 2>/dev/null; then
    :
  else
    shot="(none: the display did not answer)"
  fi
  # The driver writes its reports with carriage returns.
  waited=$(tr -d '\r' <"$log" 2>/dev/null | grep -a ': waited for: ' | tail -n1 | sed 's/^[^:]*: waited for: //')
  saw=$(tr -d '\r' <"$log" 2>/dev/null | grep -a ': saw: ' | tail -n1 | sed 's/^[^:]*: saw: //')
  # The step that failed last, else the step that ran last (steps started
  # in the background log when they start, not when they fail).
  step=$(grep -a ' failed step: ' "$log" 2>/dev/null | tail -n1 | sed 's/^.* failed step: //')
  [ -n "$step" ] || step=$(grep -a ' step: ' "$log" 2>/dev/null | tail -n1 | sed 's/^[^ ]* step: //')
  crash=$(tr -d '\r' <"$log" 2>/dev/null | grep -a -m1 -E '^wine: Unhandled|ended by exception')
  {
    [ -n "$waited" ] && echo "  waited for: $waited"
    [ -n "$saw" ] && echo "  saw: $saw"
    [ -n "$step" ] && echo "  driver step: $step; $(grep -a -c ' failed step: ' "$log") step(s) failed in this case"
    echo "  vell.exe: $(vell_report)"
    [ -n "$crash" ] && echo "  crash report: $crash"
    echo "  rig: $(rig_state)"
    echo "  prefix processes: $(prefix_processes)"
    echo "  screenshot: $shot"
  } >&2
}

fail() {
  echo "FAIL ($case_name): $*" >&2
  failure_report
  if [ -s "$log" ]; then
    echo "--- end of $log:" >&2
    tail -n 20 "$log" >&2
  fi
  exit 1
}

expect_eq() {
  [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
}

# The program the helpers start: vell.exe, or a self-extracting viewer.
program="$VELL_EXE"

# start_vell [--timeout S] [--lock FILE] [--cwd DIR] COMMAND-TAIL
# Starts the program in the background with exactly that text after its name.
start_vell() {
  local tail=${*: -1}
  local options=("${@:1:$#-1}")
  # The runner's time covers every step of the case, each a Wine program
  # start of a second or more under load: 90 s unless the case says.
  driver run --timeout 90 "${options[@]}" "$(winpath "$program")" "$tail" >"$work/run.out" &
  vell_runner=$!
}

# The program started last ends by itself, with nothing left on the screen.
expect_vell_ends() {
  wait "$vell_runner" || true
  vell_runner=
  expect_eq "end of vell.exe" "exit=0" "$(cat "$work/run.out")"
}

# Runs vell.exe with a command tail and expects it to end without a message.
run_silently() {
  start_vell --timeout 15 "$1"
  expect_vell_ends
}

# Runs vell.exe with a command tail that opens a document in the viewer
# window, closes that window as the user would and expects the end.
run_viewer_and_close() {
  start_vell "$1"
  driver viewer close --timeout 20 >/dev/null || fail "no viewer window to close"
  expect_vell_ends
}

# expect_message CAPTION TEXT: a message box with the information icon and
# an OK button shows exactly this caption and text; OK is pressed.
expect_message() {
  driver msgbox --timeout 20 >"$work/msgbox.out" || fail "no message box, expected [$2]"
  expect_eq "caption" "$1" "$(sed -n 's/^caption=//p' "$work/msgbox.out")"
  expect_eq "text" "$2" "$(sed -n 's/^text=//p' "$work/msgbox.out")"
  expect_eq "buttons" "OK" "$(sed -n 's/^buttons=//p' "$work/msgbox.out")"
  expect_eq "icon" "yes" "$(sed -n 's/^icon=//p' "$work/msgbox.out")"
}

# Runs vell.exe with a command tail, expects one message and the end.
run_expecting_message() {
  start_vell "$1"
  expect_message "$2" "$3"
  expect_vell_ends
}

# keys_to TITLE KEY...: focuses the X window of that title and presses the keys.
keys_to() {
  local title=$1 id
  shift
  id=$(xdotool search --name "^$title\$" | head -n 1)
  [ -n "$id" ] || fail "no X window named [$title]"
  xdotool windowfocus --sync "$id" 2>>"$log" || xdotool windowfocus "$id" 2>>"$log" || true
  xdotool key --clearmodifiers --delay 60 "$@"
}

make_doc() { driver make-doc "$1" "$(winpath "$2")" || fail "make-doc $1 failed"; }

reg_value() { driver reg-query "$1"; }

reg_clear() {
  driver reg-delete .vel
  driver reg-delete "$PROGRAM_ID"
}

expect_registered_by_vell() {
  local exe
  exe=$(winpath "$VELL_EXE")
  expect_eq ".vel" "$PROGRAM_ID" "$(reg_value .vel)"
  expect_eq "program identifier" "$PROGRAM_ID" "$(reg_value "$PROGRAM_ID")"
  expect_eq "open command" "$exe %1" "$(reg_value "$PROGRAM_ID\\shell\\open\\command")"
  expect_eq "print command" "$exe -PA %1" "$(reg_value "$PROGRAM_ID\\shell\\print\\command")"
}

registry_report() {
  printf '%s' "Registry Settings for the .vel extension\\r\\rProgram Name: $1\\rOpen: $2\\rPrint: $3"
}

# A case that fails half-way must leave no window behind for the next one:
# confirm whatever message boxes are left and wait for the runner, which
# ends vell.exe at its own timeout at the latest.
finish_case() {
  if [ -n "${vell_runner:-}" ] && kill -0 "$vell_runner" 2>/dev/null; then
    for _ in 1 2 3; do driver msgbox --timeout 1 >/dev/null 2>&1 || break; done
    wait "$vell_runner" 2>/dev/null || true
  fi
}
trap finish_case EXIT
vell_runner=

# ---- the recording mail system ------------------------------------------

readonly RECORDING_MAPI="$VELL_RIG/../mapi/mapi32.dll"
readonly SYSTEM_MAPI="$WINEPREFIX/drive_c/windows/system32/mapi32.dll"

# Puts the recording library in the system directory and makes this case's
# programs prefer it over Wine's own. Calls go to $mapi_log; every
# attachment is copied to $work/kept.
use_recording_mapi() {
  [ -f "$RECORDING_MAPI" ] || fail "the recording mapi32.dll is not built"
  cmp -s "$RECORDING_MAPI" "$SYSTEM_MAPI" || cp -f "$RECORDING_MAPI" "$SYSTEM_MAPI"
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mapi32=n"
  mapi_log="$work/mapi.log"
  mkdir -p "$work/kept"
  VELL_MAPI_LOG=$(winpath "$mapi_log")
  VELL_MAPI_KEEP=$(winpath "$work/kept")
  export VELL_MAPI_LOG VELL_MAPI_KEEP
  : >"$mapi_log"
}

send_doc() { driver make-send-doc "$1" "$(winpath "$2")" || fail "make-send-doc $1 failed"; }

# Offsets (1-based) at which two files differ, blank-separated.
changed_offsets() { { cmp -l "$1" "$2" || true; } | awk '{printf "%s ", $1}'; }
