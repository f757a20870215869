#!/usr/bin/env bash
# Fixture clean-up of the Wine tests: cleanup.sh RIG_DIR
# Ends the wineserver of the rig's prefix (and with it every Wine process of
# that prefix) and the rig's Xvfb, by its process id.
set -uo pipefail
rig=$1
if [ -f "$rig/wine-env.sh" ]; then
  # shellcheck source=/dev/null
  source "$rig/wine-env.sh"
  wineserver -k </dev/null >/dev/null 2>&1
fi
if [ -f "$rig/xvfb.pid" ]; then
  pid=$(cat "$rig/xvfb.pid")
  if [ -n "$pid" ] && [ "$(cat /proc/"$pid"/comm 2>/dev/null)" = Xvfb ]; then
    kill "$pid"
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$rig/xvfb.pid"
fi
rm -f "$rig/wine-env.sh"
exit 0
