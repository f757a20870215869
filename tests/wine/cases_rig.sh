# Wine tests of the rig itself: what a failing case relies on to tell a
# fault of vell.exe from one of the rig.
# shellcheck shell=bash

# A program that crashes ends at once with its exception code, and the
# runner names it: Wine's debugger, which would wait until the case's
# timeout, is off in the test prefix.
case_rig_crash_ends_the_program() {
  driver run --timeout 20 "$(winpath "$VTDRIVER_EXE")" crash >"$work/run.out"
  expect_eq "exit of the crashing program" "exit=3221225477" "$(cat "$work/run.out")"
  grep -q 'ended by exception 0xC0000005 (access violation)' "$log" ||
    fail "the runner did not name the crash"
}

# One desktop serves the whole run: the prefix's one desktop process is the
# one that was up when wine.setup finished, not one started since by a case.
case_rig_one_desktop() {
  local pid started ready
  pid=$(prefix_processes | grep -o 'explorer\.exe([0-9]*' | sed 's/.*(//')
  expect_eq "desktop processes" 1 "$(wc -w <<<"$pid")"
  # Start time in seconds since the epoch: boot time plus clock ticks.
  started=$(( $(awk '/^btime/ {print $2}' /proc/stat) + $(awk '{print $22}' "/proc/$pid/stat") / $(getconf CLK_TCK) ))
  ready=$(stat -c %Y "$VELL_RIG/hold.ready")
  [ "$started" -le $((ready + 1)) ] ||
    fail "the desktop process $pid started at $started, after the rig was ready at $ready"
}
