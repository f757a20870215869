#!/usr/bin/env bash
# Fixture set-up of the Wine tests: setup.sh RIG_DIR VELL_EXE VTDRIVER_EXE
#
# Starts Xvfb on a display it picks itself, prepares the Wine prefix under
# RIG_DIR (created on first use, kept between runs), starts the prefix's
# wineserver persistently and a program that holds the prefix's desktop for
# the whole run, checks that all of them are up, and writes
# RIG_DIR/wine-env.sh for the cases.
# Every program started here gets files, never this script's pipes, as its
# output: CTest waits for the pipes to close, so a wineserver holding one
# would keep the set-up test running until its timeout.
set -euo pipefail
rig=$1
vell_exe=$2
driver_exe=$3
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=rig_state.sh
source "$here/rig_state.sh"
# shellcheck source=holder.sh
source "$here/holder.sh"

mkdir -p "$rig"
env_file="$rig/wine-env.sh"
rm -f "$env_file" "$rig/display"

for tool in Xvfb wine wineserver xdotool; do
  command -v "$tool" >/dev/null || { echo "setup: $tool is not installed" >&2; exit 1; }
done
# Without its preloader Wine cannot keep the address ranges it needs free
# before the system's loader maps libraries at random places; now and then
# a program then ends at once, with exit code 1 and no word.
if [ -x /usr/lib/wine/wine64 ] && [ ! -x /usr/lib/wine/wine64-preloader ]; then
  echo "setup: wine64-preloader is not installed (tools/install-deps.sh)" >&2
  exit 1
fi

# An Xvfb left behind by an earlier run that never cleaned up.
if [ -f "$rig/xvfb.pid" ]; then
  old=$(cat "$rig/xvfb.pid")
  if [ -n "$old" ] && [ "$(cat /proc/"$old"/comm 2>/dev/null)" = Xvfb ]; then kill "$old" || true; fi
  rm -f "$rig/xvfb.pid"
fi

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
  3>"$rig/display" </dev/null >"$rig/xvfb.log" 2>&1 &
xvfb_pid=$!
echo "$xvfb_pid" >"$rig/xvfb.pid"
for _ in $(seq 1 100); do
  [ -s "$rig/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "setup: Xvfb ended:" >&2; cat "$rig/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[ -s "$rig/display" ] || { echo "setup: Xvfb did not report a display" >&2; exit 1; }
display=":$(head -n1 "$rig/display")"
# The display takes clients: the first case must not be the first to try.
DISPLAY="$display" xdotool getdisplaygeometry >/dev/null 2>>"$rig/xvfb.log" ||
  { echo "setup: Xvfb on $display takes no clients" >&2; exit 1; }

export WINEPREFIX="$rig/prefix"
export WINEDEBUG=-all
# No Mono or Gecko install prompts on the first boot, no menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY="$display"

# A wineserver of this prefix from an earlier, unfinished run.
wineserver -k >/dev/null 2>&1 </dev/null || true
# The server must run in the prefix folder; Wine fills an empty one.
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >"$rig/wineserver.log" 2>&1
start=$(date +%s)
# The first command boots a new prefix. Without a window manager on Xvfb,
# Wine must draw captions and frames itself: "Managed" off.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
  </dev/null >"$rig/wine-setup.log" 2>&1
wine reg query 'HKCU\Software\Wine\X11 Driver' /v Managed </dev/null >>"$rig/wine-setup.log" 2>&1
# A crash must end the program with its exception code, which the case
# logs, instead of starting Wine's debugger, which would wait until the
# case's timeout.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
  /t REG_SZ /d '' /f </dev/null >>"$rig/wine-setup.log" 2>&1
server_pid=$(wineserver_pid) || { echo "setup: the prefix's wineserver is not running" >&2; exit 1; }

# One desktop for the whole run: without a program of the prefix running,
# Wine ends the desktop process between cases, and a case that starts
# while it is shutting down can lose its windows (docs/testing.md).
start_desktop_holder "$rig" "$(dirname "$driver_exe")/vthold.exe" || { echo "setup: no desktop" >&2; exit 1; }
echo "setup: display $display (Xvfb $xvfb_pid), wineserver $server_pid," \
  "$(cat "$rig/hold.ready") held by $hold_pid, prefix ready in $(( $(date +%s) - start )) s"

mkdir -p "$rig/work"
cat >"$env_file" <<ENV
export WINEPREFIX='$WINEPREFIX'
export WINEDEBUG='$WINEDEBUG'
export WINEDLLOVERRIDES='$WINEDLLOVERRIDES'
export DISPLAY='$display'
VELL_RIG='$rig'
VELL_XVFB_PID='$xvfb_pid'
VELL_WINESERVER_PID='$server_pid'
VELL_HOLD_PID='$hold_pid'
VELL_EXE='$vell_exe'
VTDRIVER_EXE='$driver_exe'
ENV
