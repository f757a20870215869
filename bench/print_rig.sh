# The print benchmarks' Wine rig with its own CUPS printer: sourced by
# bench/print/run.sh and bench/convert/run.sh.
# shellcheck shell=bash

# start_print_rig RIG BIN: brings up the Wine rig and the print tests'
# cups-pdf printer under RIG for vell.exe and vtdriver.exe in BIN, takes up
# their environment, and ends both when the calling script exits.
start_print_rig() {
  local rig=$1 bin=$2 scripts
  scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/../tests/wine" && pwd)"
  # shellcheck disable=SC2064
  trap "bash '$scripts/print_cleanup.sh' '$rig' || true; bash '$scripts/cleanup.sh' '$rig' || true" EXIT
  bash "$scripts/setup.sh" "$rig" "$bin/vell.exe" "$bin/vtdriver.exe" >/dev/null
  bash "$scripts/print_setup.sh" "$rig" >/dev/null
  # shellcheck source=/dev/null
  source "$rig/wine-env.sh"
  # shellcheck source=/dev/null
  source "$rig/print-env.sh"
  mkdir -p "$rig/work"
}

winpath() { printf 'Z:%s' "${1//\//\\}"; }
