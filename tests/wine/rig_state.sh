# The state of a Wine rig's processes, read from /proc: used by setup.sh to
# check that the rig is up and by lib.sh to describe it when a case fails.
# Needs WINEPREFIX. Sourced; no side effects.
# shellcheck shell=bash

# The process ids of every process of this prefix (Wine's own server and
# services, the desktop, vell.exe, vtdriver.exe), one a line.
prefix_pids() {
  local environ
  for environ in $(grep -l -z -x "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null); do
    environ=${environ#/proc/}
    echo "${environ%/environ}"
  done
}

# "NAME(PID STATE)" for each process of the prefix, blank-separated; STATE
# is the kernel's letter: R running, S sleeping, D disk wait, Z zombie,
# T stopped.
prefix_processes() {
  local pid name state out=""
  for pid in $(prefix_pids); do
    name=$(cat "/proc/$pid/comm" 2>/dev/null) || continue
    state=$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)
    out="$out $name($pid $state)"
  done
  echo "${out# }"
}

# The process id of the prefix's wineserver, empty when none runs.
wineserver_pid() {
  local pid
  for pid in $(prefix_pids); do
    case "$(cat "/proc/$pid/comm" 2>/dev/null)" in wineserver*) echo "$pid"; return 0 ;; esac
  done
  return 1
}

# pid_alive PID NAME: that process still runs under that name.
pid_alive() { [ -n "$1" ] && [ "$(cat "/proc/$1/comm" 2>/dev/null)" = "$2" ]; }

# One line on the rig's own processes: the wineserver, the desktop holder
# and Xvfb, each running or gone.
rig_state() {
  local server
  server=$(wineserver_pid || true)
  printf 'wineserver %s; desktop holder %s; Xvfb %s' \
    "$([ -n "$server" ] && echo "pid $server ($(awk '{print $3}' "/proc/$server/stat" 2>/dev/null))" || echo "not running")" \
    "$(pid_alive "${VELL_HOLD_PID:-}" vthold.exe && echo "pid $VELL_HOLD_PID up" || echo "gone")" \
    "$(pid_alive "${VELL_XVFB_PID:-}" Xvfb && echo "pid $VELL_XVFB_PID up" || echo "gone")"
}
