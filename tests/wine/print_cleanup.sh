#!/usr/bin/env bash
# Fixture clean-up of the print cases: print_cleanup.sh RIG_DIR
# Ends the test run's CUPS scheduler, by its process id, and removes the
# cups-pdf settings file the set-up wrote to /etc/cups. The PDFs and logs
# stay in RIG_DIR/cups for a look after a failure.
set -uo pipefail
rig=$1
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=print_fixture_lib.sh
source "$here/print_fixture_lib.sh"
stop_private_cupsd "$cups_dir"
rm -f "$cups_pdf_conf" "$rig/print-env.sh"
[ "$(dirname "$socket")" = "$cups_dir" ] || rm -rf "$(dirname "$socket")"
exit 0
