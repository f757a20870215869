#!/usr/bin/env bash
# Fixture set-up of the print cases: print_setup.sh RIG_DIR
#
# Starts a CUPS scheduler of the test run's own: its configuration, state,
# spool and logs live in RIG_DIR/cups, and it listens only on a socket
# there, so it neither needs nor disturbs a scheduler of the machine. It
# adds the cups-pdf printer OfficePDF as its default, has cups-pdf write
# into RIG_DIR/cups/pdf, keeps every spooled job file (the cases read the
# PostScript Wine sent), checks that Wine takes OfficePDF as its default
# printer, and writes RIG_DIR/print-env.sh for the cases.
#
# cups-pdf runs only as root, and reads its settings from /etc/cups: the
# one file this writes outside RIG_DIR is /etc/cups/cups-pdf-INSTANCE.conf,
# named after this rig, which print_cleanup.sh removes again.
set -euo pipefail
rig=$1
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=print_fixture_lib.sh
source "$here/print_fixture_lib.sh"

[ "$(id -u)" -eq 0 ] || { echo "print setup: cups-pdf needs root; run the print cases as root" >&2; exit 1; }
for tool in cupsd lpadmin lpstat pdfinfo pdftotext pdftoppm; do
  command -v "$tool" >/dev/null || { echo "print setup: $tool is not installed (tools/install-deps.sh)" >&2; exit 1; }
done
[ -x /usr/lib/cups/backend/cups-pdf ] ||
  { echo "print setup: the cups-pdf backend is not installed (printer-driver-cups-pdf)" >&2; exit 1; }
[ -f "$rig/wine-env.sh" ] || { echo "print setup: no Wine rig at $rig (wine.setup)" >&2; exit 1; }

stop_private_cupsd "$cups_dir"
rm -rf "$cups_dir"
mkdir -p "$cups_dir"/{conf,state,cache,spool,tmp,log,pdf,pdf-spool}
# The scheduler's filters run as the user lp; they must reach the spool.
chgrp lp "$cups_dir/spool" "$cups_dir/cache" 2>/dev/null || true
chmod 0710 "$cups_dir/spool"
mkdir -p "$(dirname "$socket")"

cat >"$cups_dir/conf/cups-files.conf" <<CONF
ServerRoot $cups_dir/conf
StateDir $cups_dir/state
CacheDir $cups_dir/cache
RequestRoot $cups_dir/spool
TempDir $cups_dir/tmp
AccessLog $cups_dir/log/access_log
ErrorLog $cups_dir/log/error_log
PageLog $cups_dir/log/page_log
SystemGroup root
CONF
cat >"$cups_dir/conf/cupsd.conf" <<CONF
LogLevel info
Listen $socket
Browsing No
WebInterface No
PreserveJobFiles Yes
MaxJobs 0
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$cups_pdf_conf" <<CONF
# Written by vell's print test fixture for $rig; removed by its clean-up.
Out $cups_dir/pdf
Spool $cups_dir/pdf-spool
Grp root
CONF

cupsd -f -c "$cups_dir/conf/cupsd.conf" -s "$cups_dir/conf/cups-files.conf" \
  </dev/null >"$cups_dir/log/cupsd.out" 2>&1 &
echo $! >"$cups_dir/cupsd.pid"
export CUPS_SERVER=$socket
for _ in $(seq 1 100); do
  lpstat -r 2>/dev/null | grep -q "is running" && break
  kill -0 "$(cat "$cups_dir/cupsd.pid")" 2>/dev/null ||
    { echo "print setup: cupsd ended:" >&2; cat "$cups_dir/log/cupsd.out" "$cups_dir/log/error_log" >&2; exit 1; }
  sleep 0.1
done
lpstat -r 2>/dev/null | grep -q "is running" || { echo "print setup: cupsd does not answer" >&2; exit 1; }

lpadmin -p "$printer" -E -v "cups-pdf:/$cups_pdf_instance" -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd \
  2>"$cups_dir/log/lpadmin.out"
lpadmin -d "$printer"

cat >"$rig/print-env.sh" <<ENV
export CUPS_SERVER='$socket'
VELL_PRINTER='$printer'
VELL_PDF_DIR='$cups_dir/pdf'
VELL_CUPS_SPOOL='$cups_dir/spool'
ENV

# Wine takes up the CUPS printers, and the CUPS default as its own, when a
# program asks for printers.
# shellcheck source=/dev/null
source "$rig/wine-env.sh"
wine "$VTDRIVER_EXE" printers </dev/null >"$cups_dir/log/wine-printers.out" 2>/dev/null
grep -q "^device=$printer," "$cups_dir/log/wine-printers.out" ||
  { echo "print setup: Wine did not take $printer as its default:" >&2; cat "$cups_dir/log/wine-printers.out" >&2; exit 1; }
echo "print setup: cupsd on $socket, $printer is Wine's default, PDFs in $cups_dir/pdf"
