#!/usr/bin/env bash
# Runs one Wine test: run_case.sh ENV_FILE CASE_FILE CASE
# Sources the fixture's environment, the shared helpers and the case file,
# then calls the function case_CASE.
set -euo pipefail
# shellcheck source=/dev/null
source "$1"
case_file=$2
case_name=$3
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=lib.sh
source "$here/lib.sh"
# shellcheck source=/dev/null
source "$case_file"

declare -F "case_$case_name" >/dev/null || fail "no such case"
# The rig that wine.setup brought up is still there: a case never starts
# on a display or a server that has gone.
pid_alive "${VELL_XVFB_PID:-}" Xvfb && [ -n "$(wineserver_pid)" ] &&
  { [ -z "${VELL_HOLD_PID:-}" ] || pid_alive "$VELL_HOLD_PID" vthold.exe; } ||
  fail "the rig is down before the case"
"case_$case_name"
echo "PASS ($case_name)"
