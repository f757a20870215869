# Wine tests of the print job: /PA, /P with the print dialog, the default
# printer entry, and what reaches a real spooler. The fixture wine.print_setup
# runs a CUPS scheduler of the test run's own with the cups-pdf printer
# OfficePDF; every job ends as a PDF in $VELL_PDF_DIR, and the PostScript
# Wine spooled stays in $VELL_CUPS_SPOOL.
# shellcheck shell=bash

[ -f "$VELL_RIG/print-env.sh" ] || fail "no print fixture (wine.print_setup)"
# shellcheck source=/dev/null
source "$VELL_RIG/print-env.sh"

readonly NO_PRINTER_MESSAGE="In order to print, a default printer must be defined."
readonly WINDOWS_KEY='HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows'

# ---- helpers ------------------------------------------------------------

spooled_jobs() {
  local files=("$VELL_CUPS_SPOOL"/d*-001)
  [ -e "${files[0]}" ] && echo "${#files[@]}" || echo 0
}

# Starts a case with no PDF from an earlier one lying about.
clear_pdfs() { rm -f "$VELL_PDF_DIR"/*.pdf; }

# Waits until the printer has finished every job and prints the path of
# the one PDF that came out.
wait_for_pdf() {
  local deadline=$((SECONDS + 60)) pdfs
  while :; do
    if [ -z "$(lpstat -o "$VELL_PRINTER" 2>/dev/null)" ]; then
      pdfs=("$VELL_PDF_DIR"/*.pdf)
      if [ -e "${pdfs[0]}" ]; then
        [ ${#pdfs[@]} -eq 1 ] || fail "more than one PDF: ${pdfs[*]}"
        echo "${pdfs[0]}"
        return 0
      fi
    fi
    [ $SECONDS -lt $deadline ] || fail "no PDF from the printer within 60 s"
    sleep 0.3
  done
}

# The PostScript of the job spooled last.
last_spooled_job() {
  # shellcheck disable=SC2012
  ls -t "$VELL_CUPS_SPOOL"/d*-001 | head -n1
}

# Has Wine write win.ini's entry from the scheduler again, after a case
# that changed it.
restore_default_printer() {
  driver printers >"$work/printers.out" || fail "vtdriver printers failed"
  grep -q "^device=$VELL_PRINTER," "$work/printers.out" || fail "the default printer did not come back"
}

# print_without_dialog KIND: /PA on a new document of that kind; vell
# ends by itself (a dialog or message would keep it running).
print_without_dialog() {
  local doc="$work/$1.vel"
  make_doc "$1" "$doc"
  clear_pdfs
  run_silently "/PA $(winpath "$doc")"
}

# The "Printed page N" lines of a PDF, in order, separated by commas.
page_texts() { pdftotext -layout "$1" - | tr -d '\f' | sed -n 's/^ *\(Printed page [0-9]*\) *$/\1/p' | paste -sd,; }

expect_pdf_info() {  # FILE FIELD VALUE
  expect_eq "pdfinfo $2" "$3" "$(pdfinfo "$1" | sed -n "s/^$2: *//p")"
}

# ---- without dialog (/PA) ----------------------------------------------

# Every page once, in order, without a dialog, on the default printer, in
# one spooler document named after the document title, on the first
# page's paper.
case_print_all_pages() {
  print_without_dialog print-five
  local pdf
  pdf=$(wait_for_pdf)
  case "$(basename "$pdf")" in Print_Run_Five*) ;; *) fail "PDF named $(basename "$pdf")" ;; esac
  expect_pdf_info "$pdf" Title "Print Run Five"
  expect_pdf_info "$pdf" Pages 5
  expect_pdf_info "$pdf" "Page size" "612 x 792 pts (letter)"
  expect_eq "pages in order" "Printed page 1,Printed page 2,Printed page 3,Printed page 4,Printed page 5" \
    "$(page_texts "$pdf")"
}

# A title of blanks only: the spooler document is "vell Document".
case_print_untitled_name() {
  print_without_dialog print-untitled
  local pdf
  pdf=$(wait_for_pdf)
  case "$(basename "$pdf")" in vell_Document*) ;; *) fail "PDF named $(basename "$pdf")" ;; esac
  expect_pdf_info "$pdf" Title "vell Document"
  expect_eq "pages" "Printed page 1,Printed page 2" "$(page_texts "$pdf")"
}

# Letter portrait, A4 landscape and Legal portrait: each page gets its own
# paper and orientation from the device context. Wine's PostScript driver
# fixes the paper of the whole document when it starts (the first page's
# here) and lays each later page out on its own paper, so the PDF shows
# Letter throughout while the spooled pages show their own set-up: page 1
# 11 inches down at 300 dots per inch, page 2 turned, page 3 14 inches.
case_print_paper_sizes() {
  print_without_dialog print-papers
  local pdf job
  pdf=$(wait_for_pdf)
  expect_pdf_info "$pdf" Pages 3
  expect_eq "page 1 paper" "Page    1 size:  612 x 792 pts (letter)" \
    "$(pdfinfo -f 1 -l 1 "$pdf" | grep '^Page    1 size')"
  job=$(last_spooled_job)
  expect_eq "page set-ups" "0 3300 translate|0 rotate;0 0 translate|-90 rotate;0 4200 translate|0 rotate" \
    "$(awk '/^%%BeginPageSetup/{s=1;t="";next} /^%%EndPageSetup/{s=0;out=out sep t;sep=";";next}
            s && /translate$|rotate$/ && !/div/{t=(t=="" ? $0 : t "|" $0)} END{print out}' "$job")"
  pdftotext "$pdf" - | grep -q "Letter portrait page" || fail "page 1's text is missing"
  pdftotext "$pdf" - | grep -q "A4 landscape page" || fail "page 2's text is missing"
}

# Lines, boxes and an embedded picture land where the screen shows them:
# the PDF at 96 dots per inch against vellrender's screen image of the
# page. The two round the 300-dot printer's edges to 96 dots differently,
# so a shape may gain or lose its last row or column of pixels; those
# one-pixel seams are worn away (erosion by one pixel) before counting, and
# what is left would be a shape that is missing or out of place (a shift
# of two pixels already leaves hundreds).
case_print_drawing_matches_screen() {
  print_without_dialog print-drawing
  local pdf drawn misplaced
  pdf=$(wait_for_pdf)
  pdftoppm -r 96 -png -aa no -aaVector no -singlefile "$pdf" "$work/printed"
  timeout 60 wine "$(dirname "$VELL_EXE")/vellrender.exe" "$(winpath "$work/print-drawing.vel")" 1 \
    "$(winpath "$work/screen.png")" --dpi 96 </dev/null 2>>"$log" || fail "vellrender failed"
  expect_eq "printed size" "816 x 1056" "$(identify -format '%w x %h' "$work/printed.png")"
  drawn=$(compare -metric AE -fuzz 10% "$work/screen.png" xc:white[816x1056] null: 2>&1 || true)
  [ "$drawn" -gt 150000 ] || fail "the screen image shows too little ($drawn pixels)"
  compare -fuzz 25% "$work/screen.png" "$work/printed.png" -compose src \
    -highlight-color white -lowlight-color black "$work/difference.png" 2>>"$log" || true
  misplaced=$(convert "$work/difference.png" -morphology Erode Square:1 \
    -format '%[fx:round(mean*w*h)]' info:)
  echo "drawn $drawn pixels, $misplaced differ beyond a one-pixel seam" >>"$log"
  [ "$misplaced" -lt 100 ] || fail "printed and screen pages differ in $misplaced pixels"
}

# ---- with the print dialog (/P) ----------------------------------------

# The dialog opens on the default printer with every page and one copy,
# no "Selection" choice and a Help button; pages 2 to 3 in 2 copies print
# as two complete, ordered sets.
case_print_dialog_range_copies() {
  local doc="$work/five.vel"
  make_doc print-five "$doc"
  clear_pdfs
  start_vell --timeout 40 "/P $(winpath "$doc")"
  driver print-dialog --from 2 --to 3 --copies 2 --ok >"$work/dialog.out" || fail "no print dialog"
  expect_eq "dialog as opened" "printer=OfficePDF range=all from=1 to=5 copies=1 selection=0 help=1" \
    "$(paste -sd' ' "$work/dialog.out")"
  expect_vell_ends
  local pdf
  pdf=$(wait_for_pdf)
  expect_pdf_info "$pdf" Pages 4
  expect_eq "pages" "Printed page 2,Printed page 3,Printed page 2,Printed page 3" "$(page_texts "$pdf")"
}

case_print_dialog_cancelled() {
  local doc="$work/five.vel" before
  make_doc print-five "$doc"
  before=$(spooled_jobs)
  start_vell --timeout 40 "/P $(winpath "$doc")"
  driver print-dialog --cancel >/dev/null || fail "no print dialog"
  expect_vell_ends
  expect_eq "jobs spooled" "$before" "$(spooled_jobs)"
}

# ---- the default printer entry ------------------------------------------

# With no CUPS scheduler to ask, Wine leaves win.ini's entry as the case
# sets it (with one, it makes the CUPS default printer the entry again).
# A missing, empty, comma-less or comma-first entry gives the message and
# no dialog, with the document title as caption.
case_print_no_default_printer() {
  local doc="$work/three.vel" entry
  make_doc print-three "$doc"
  local dead="$work/no-scheduler.sock"
  wine reg delete "$WINDOWS_KEY" /v Device /f </dev/null >>"$log" 2>&1 || true
  CUPS_SERVER=$dead run_expecting_message "/P $(winpath "$doc")" "Print Run Three" "$NO_PRINTER_MESSAGE"
  for entry in "" "OfficePDF" "  ,wineps.drv,CUPS:OfficePDF"; do
    wine reg add "$WINDOWS_KEY" /v Device /d "$entry" /f </dev/null >>"$log" 2>&1
    CUPS_SERVER=$dead run_expecting_message "/P $(winpath "$doc")" "Print Run Three" "$NO_PRINTER_MESSAGE"
  done
  CUPS_SERVER=$dead run_expecting_message "/PA $(winpath "$doc")" "Print Run Three" "$NO_PRINTER_MESSAGE"
  restore_default_printer
}

# A default printer that cannot be opened: the job prints with the device
# context's own settings (the printer's A4 instead of the page's Letter).
# The entry is changed while the password dialog holds the program, after
# Wine has set it from the scheduler; the dialog then knows no default and
# the printer is picked in it.
case_print_without_printer_settings() {
  local doc="$work/protected.vel"
  make_doc print-protected "$doc"
  clear_pdfs
  start_vell --timeout 40 "/P $(winpath "$doc")"
  driver window --title "Password Required" >/dev/null || fail "no password dialog"
  wine reg add "$WINDOWS_KEY" /v Device /d "Office Printer,winspool,LPT1:" /f </dev/null >>"$log" 2>&1
  driver dialog --title "Password Required" --keys "101=tiger" --press 102 >/dev/null ||
    fail "the password was not taken"
  driver print-dialog --printer OfficePDF --ok >/dev/null || fail "no print dialog"
  expect_vell_ends
  local pdf
  pdf=$(wait_for_pdf)
  expect_pdf_info "$pdf" "Page size" "595 x 842 pts (A4)"
  expect_eq "pages" "Printed page 1" "$(page_texts "$pdf")"
  restore_default_printer
}

# ---- from the viewer window ---------------------------------------------

# The toolbar's Print button prints through the dialog, and the window is
# afterwards exactly as before: status text, zoom, scroll bars, page area.
case_print_from_viewer_window() {
  local doc="$work/five.vel"
  make_doc print-five "$doc"
  clear_pdfs
  start_vell --timeout 60 "$(winpath "$doc")"
  driver viewer select-zoom 2 >/dev/null || fail "no viewer window"
  driver viewer state >"$work/before.txt" || fail "no viewer window"
  grep -q '^zoom.text=75%$' "$work/before.txt" || fail "the zoom did not change to 75%"
  driver viewer command 757 --post >/dev/null || fail "no viewer window"
  driver print-dialog --from 2 --to 3 --ok >/dev/null || fail "no print dialog"
  local pdf
  pdf=$(wait_for_pdf)
  expect_eq "pages" "Printed page 2,Printed page 3" "$(page_texts "$pdf")"
  driver viewer state >"$work/after.txt" || fail "the viewer window is gone"
  diff -u "$work/before.txt" "$work/after.txt" >"$work/state.diff" ||
    fail "the viewer changed: $(cat "$work/state.diff")"
  driver viewer close >/dev/null || fail "the viewer window did not close"
  expect_vell_ends
}

# A second print dialog in the same run opens on the printer chosen in the
# first, while win.ini's default stays what it was.
case_print_dialog_remembers_printer() {
  local doc="$work/three.vel" uri
  uri=$(lpstat -v "$VELL_PRINTER" | sed -n 's/^device for [^:]*: //p')
  lpadmin -p OtherPDF -E -v "$uri" -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>>"$log" ||
    fail "cannot add a second printer"
  make_doc print-three "$doc"
  clear_pdfs
  start_vell --timeout 60 "$(winpath "$doc")"
  driver viewer command 757 --post >/dev/null || fail "no viewer window"
  driver print-dialog --printer OtherPDF --ok >"$work/first.out" || fail "no print dialog"
  grep -q "^printer=$VELL_PRINTER$" "$work/first.out" || fail "the first dialog: $(cat "$work/first.out")"
  wait_for_pdf >/dev/null
  driver viewer command 757 --post >/dev/null || fail "no viewer window"
  driver print-dialog --cancel >"$work/second.out" || fail "no second print dialog"
  driver viewer close >/dev/null || fail "the viewer window did not close"
  expect_vell_ends
  lpadmin -x OtherPDF
  grep -q "^printer=OtherPDF$" "$work/second.out" || fail "the second dialog: $(cat "$work/second.out")"
  restore_default_printer
}

# Ctrl+P, pressed for real on the viewer window, opens the print dialog
# (the command table's Print); cancelling it leaves the viewer as it was.
case_print_by_ctrl_p() {
  local doc="$work/three.vel"
  make_doc print-three "$doc"
  start_vell --timeout 60 "$(winpath "$doc")"
  driver viewer get caption --timeout 20 >/dev/null || fail "no viewer window"
  xdotool key ctrl+p
  driver print-dialog --timeout 15 --cancel >"$work/dialog.out" || fail "Ctrl+P opened no print dialog"
  driver viewer close >/dev/null || fail "the viewer window did not close"
  expect_vell_ends
}

# The shell's print command for a document, with vell under a folder with a
# blank and a copy of vell where Windows looks first for an unquoted path:
# the registered program prints every page without a dialog.
case_print_shell_command() {
  reg_clear
  mkdir -p "$work/vell app"
  program="$work/vell app/vell.exe"
  cp "$VELL_EXE" "$program"
  cp "$VELL_EXE" "$work/vell.exe"
  run_silently "-INSTALL"
  local doc="$work/five.vel" pdf
  make_doc print-five "$doc"
  clear_pdfs
  driver shell --timeout 30 print "$(winpath "$doc")" >"$work/run.out" || fail "the shell's print failed"
  expect_eq "end of vell.exe" "exit=0" "$(cat "$work/run.out")"
  pdf=$(wait_for_pdf)
  expect_eq "pages" "Printed page 1,Printed page 2,Printed page 3,Printed page 4,Printed page 5" \
    "$(page_texts "$pdf")"
  reg_clear
}
