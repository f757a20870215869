# The program that holds the prefix's desktop for a whole run (vthold.exe):
# without a program of the prefix running, Wine ends the desktop process
# between cases (docs/testing.md). Sourced by setup.sh, and by lib.sh for a
# case that restarts the prefix's wineserver.
# shellcheck shell=bash

# start_desktop_holder RIG HOLD_EXE: starts the holder and waits until it
# has the desktop; sets hold_pid. Returns 1 with a message when it ends or
# takes over 60 s.
start_desktop_holder() {
  local rig=$1 exe=$2
  rm -f "$rig/hold.ready"
  wine "$exe" "Z:${rig//\//\\}\\hold.ready" </dev/null >"$rig/hold.log" 2>&1 &
  hold_pid=$!
  for _ in $(seq 1 600); do
    [ -s "$rig/hold.ready" ] && return 0
    kill -0 "$hold_pid" 2>/dev/null || { echo "the desktop holder ended:" >&2; cat "$rig/hold.log" >&2; return 1; }
    sleep 0.1
  done
  echo "no desktop within 60 s" >&2
  return 1
}
