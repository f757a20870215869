# Wine tests of e-mail, fax and saving. A recording mapi32.dll of ours
# (tests/wine/mapi) stands in for the mail system: it writes every call
# with every field to mapi.log and answers as VELL_MAPI_LOGON and
# VELL_MAPI_SEND_RESULT say; every attachment is copied to kept/ while it
# is sent.
# shellcheck shell=bash

# The helpers are shared with the PDF cases.
source "${BASH_SOURCE[0]%/*}/send_helpers.sh"

# ---- e-mail -------------------------------------------------------------

# Recipients, no dialog, the .vel file itself: every call and field as the
# mail system sees them. The attachment is the document marked as a copy;
# afterwards the document file is byte for byte what it was.
case_email_as_vel() {
  use_recording_mapi
  local doc="$work/report.vel"
  send_doc email-vel-kept "$doc"
  cp "$doc" "$work/before.vel"
  run_silently "/E $(winpath "$doc")"
  { logon_lines Office secret
    send_head_lines 1 "Monthly figures" "$EMAIL_NOTE" 2
    echo "recips=set"
    email_recip_lines
    file_lines 32 "$(winpath "$doc")" "Quarterly Report.vel"
    echo "result=0"
    logoff_lines; } >"$work/expected.log"
  mapfile -t expected <"$work/expected.log"
  expect_calls "${expected[@]}"
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed: $(changed_offsets "$doc" "$work/before.vel")"
  # Copy flag (offset 232) set in what was sent, nothing else changed.
  expect_eq "bytes changed in the attachment" "233 " "$(changed_offsets "$work/before.vel" "$work/kept/attach0")"
}

# A document that asks to be deleted: what is sent has the flag clear, and
# the viewer still deletes its own file at the end.
case_email_delete_when_closed() {
  use_recording_mapi
  local doc="$work/scratch.vel"
  send_doc email-vel "$doc"
  cp "$doc" "$work/before.vel"
  run_silently "-e $(winpath "$doc")"
  expect_eq "bytes changed in the attachment" "115 233 " \
    "$(changed_offsets "$work/before.vel" "$work/kept/attach0")"
  [ ! -e "$doc" ] || fail "the delete-when-closed document was kept"
}

# Attach as viewer with the dialog flag: a temporary "~D" self-extracting
# viewer, sent through the mail system's dialog and deleted afterwards.
case_email_as_exe_with_dialog() {
  use_recording_mapi
  local doc="$work/report.vel"
  send_doc email-exe "$doc"
  cp "$doc" "$work/before.vel"
  expect_no_temp_attachments
  run_silently "/E $(winpath "$doc")"
  grep -qx 'flags=9' "$mapi_log" || fail "no dialog flag: $(grep '^flags' "$mapi_log")"
  grep -qx 'file0.name=Quarterly Report.exe' "$mapi_log" || fail "attachment name"
  grep -qx 'file0.exists=1' "$mapi_log" || fail "the attachment did not exist while sent"
  grep -qE '^file0.path=C:\\.*\\~D[0-9]{6}\.exe$' "$mapi_log" ||
    fail "attachment path: $(grep '^file0.path' "$mapi_log")"
  expect_no_temp_attachments
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
  expect_self_extracting "$work/kept/attach0" "$work/before.vel"
}

# A self-extracting viewer: the running vell.exe, then the document with
# its embedded flag (116), stub length (180..183) and copy flag (232) set,
# then the trailer.
expect_self_extracting() { # FILE ORIGINAL-DOCUMENT
  local stub doc_size
  stub=$(stat -c %s "$VELL_EXE")
  doc_size=$(stat -c %s "$2")
  expect_eq "container size" "$((stub + doc_size + 21))" "$(stat -c %s "$1")"
  cmp -s -n "$stub" "$1" "$VELL_EXE" || fail "the stub is not vell.exe"
  expect_eq "marker" "VELL_SELF_EXTRACT" "$(tail -c 17 "$1")"
  tail -c +$((stub + 1)) "$1" | head -c "$doc_size" >"$work/embedded.vel"
  local changed
  changed=$(changed_offsets "$work/embedded.vel" "$2")
  case "$changed" in
    "117 18"[1-4]*"233 ") ;;
    *) fail "embedded document changed at [$changed]" ;;
  esac
}

# Every "~D" name taken: the message, the header back, nothing sent, and
# none of the files that were there is deleted.
case_email_no_temp_name() {
  use_recording_mapi
  # Wine's temporary folder is C:\users\NAME\Temp, NAME the Unix user.
  local temp
  temp="$WINEPREFIX/drive_c/users/$(id -un)/Temp"
  [ -d "$temp" ] || fail "no temporary folder $temp"
  # shellcheck disable=SC2064  # the folder is fixed now, the function's
  # variables are gone when the case ends
  trap "rm -f '$temp'/~D00[0-9][0-9][0-9][0-9].exe; finish_case" EXIT
  (cd "$temp" && touch ~D{000001..009999}.exe)
  local doc="$work/report.vel"
  send_doc email-exe "$doc"
  cp "$doc" "$work/before.vel"
  run_expecting_message "/E $(winpath "$doc")" "Quarterly Report" \
    "Unable to create exe attachment. Can't obtain temp .exe name for sending."
  expect_eq "calls" "" "$(cat "$mapi_log")"
  expect_eq "temporary names still taken" "9999" "$(temp_attachments)"
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
}

# No e-mail settings: a self-extracting viewer, the dialog, no recipients,
# empty logon texts.
case_email_without_settings() {
  use_recording_mapi
  local doc="$work/plain.vel"
  make_doc plain "$doc"
  run_silently "/E $(winpath "$doc")"
  grep -qx 'profile=' "$mapi_log" || fail "profile"
  grep -qx 'password=' "$mapi_log" || fail "password"
  grep -qx 'flags=9' "$mapi_log" || fail "no dialog flag"
  grep -qx 'recip_count=0' "$mapi_log" || fail "recipients"
  grep -qx 'recips=(null)' "$mapi_log" || fail "recipient records"
  grep -qx 'note=\\r\\n ' "$mapi_log" || fail "note: $(grep '^note' "$mapi_log")"
  grep -qx 'file0.position=2' "$mapi_log" || fail "position"
  expect_no_temp_attachments
}

# Logon refused: the message, no send, no log-off; the header is back and
# no temporary viewer is left.
case_email_logon_fails() {
  use_recording_mapi
  local doc="$work/report.vel"
  send_doc email-exe "$doc"
  cp "$doc" "$work/before.vel"
  export VELL_MAPI_LOGON=fail
  run_expecting_message "/E $(winpath "$doc")" "Quarterly Report" "Unable to obtain mapi session handle"
  expect_eq "calls" "call=MAPILogon" "$(grep '^call=' "$mapi_log")"
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
  expect_no_temp_attachments
}

# The mail system fails the send: its code in the message, signed with a
# leading blank; log-off follows, the header is back, the viewer gone. A
# user's cancel (1) shows nothing.
case_email_send_fails() {
  use_recording_mapi
  local doc="$work/report.vel"
  send_doc email-exe "$doc"
  cp "$doc" "$work/before.vel"
  export VELL_MAPI_SEND_RESULT=2
  run_expecting_message "/E $(winpath "$doc")" "Quarterly Report" \
    "Unable to send document. Mapi failure error = 2"
  expect_eq "calls" "call=MAPILogon call=MAPISendMail call=MAPILogoff" \
    "$(grep '^call=' "$mapi_log" | tr '\n' ' ' | sed 's/ $//')"
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
  expect_no_temp_attachments

  export VELL_MAPI_SEND_RESULT=0xFFFFFFFF
  run_expecting_message "/E $(winpath "$doc")" "Quarterly Report" \
    "Unable to send document. Mapi failure error =-1"
  export VELL_MAPI_SEND_RESULT=1
  run_silently "/E $(winpath "$doc")"
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
}

# A ";" in the title and in the path: the one attachment goes whole, never
# split into other files' names.
case_email_semicolon_names() {
  use_recording_mapi
  mkdir -p "$work/a;b"
  local doc="$work/a;b/sales.vel"
  send_doc email-semicolon "$doc"
  run_silently "/E $(winpath "$doc")"
  grep -qxF "file0.path=$(winpath "$doc")" "$mapi_log" || fail "path: $(grep '^file0.path' "$mapi_log")"
  grep -qxF 'file0.name=Sales; Final.vel' "$mapi_log" || fail "name: $(grep '^file0.name' "$mapi_log")"
}

# ---- library loading ----------------------------------------------------

# A mapi32.dll beside vell.exe and in the current folder is never loaded,
# even where Wine would prefer such a file: the log names the system copy.
case_mapi_planted_library_ignored() {
  use_recording_mapi
  mkdir -p "$work/downloads"
  cp "$VELL_EXE" "$work/downloads/vell.exe"
  cp "$RECORDING_MAPI" "$work/downloads/mapi32.dll"
  local doc="$work/downloads/report.vel"
  send_doc email-vel-kept "$doc"
  program="$work/downloads/vell.exe"
  start_vell --timeout 15 --cwd "$(winpath "$work/downloads")" "/E $(winpath "$doc")"
  expect_vell_ends
  expect_eq "library loaded" 'module=C:\windows\system32\mapi32.dll' "$(grep '^module=' "$mapi_log")"
}

# Wine's own mapi32.dll, without any mail system behind it: its provider
# (winemapi.dll) turns the message into a "mailto:" address for
# winebrowser, which finds no program to open it here, and still reports
# success; the attachment cannot travel that way. vell shows nothing, and
# the document file is as before.
case_mapi_wine_builtin() {
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mapi32=b"
  local doc="$work/report.vel"
  send_doc email-vel-kept "$doc"
  cp "$doc" "$work/before.vel"
  run_silently "/E $(winpath "$doc")"
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
}

# ---- fax ----------------------------------------------------------------

readonly FAX_NOTE='Please sign and return.\r\n '

# No dialog: recipients get their "FAX:" (a lower-case "fax:" counts), each
# is name and address at once, no send dialog, the .vel file attached.
case_fax_without_dialog() {
  use_recording_mapi
  local doc="$work/order.vel"
  send_doc fax "$doc"
  cp "$doc" "$work/before.vel"
  run_silently "/F $(winpath "$doc")"
  { logon_lines "Fax Line" ""
    send_head_lines 1 "Order form" "$FAX_NOTE" 2
    echo "recips=set"
    recip_lines 0 "FAX:Zed Zimmer@555-0100" "FAX:Zed Zimmer@555-0100"
    recip_lines 1 "fax:Amy Adams@555-0199" "fax:Amy Adams@555-0199"
    file_lines 25 "$(winpath "$doc")" "Order Form.vel"
    echo "result=0"
    logoff_lines; } >"$work/expected.log"
  mapfile -t expected <"$work/expected.log"
  expect_calls "${expected[@]}"
  cmp -s "$doc" "$work/before.vel" || fail "the fax changed the document file"
}

# The dialog: its controls and first entry, two recipients added and one
# removed; the sorted order reaches the mail system.
case_fax_dialog_add_remove_send() {
  use_recording_mapi
  local doc="$work/order.vel"
  send_doc fax-dialog "$doc"
  start_vell "-f $(winpath "$doc")"
  driver window --title "Send Fax" --controls >"$work/dialog.out" || fail "no fax dialog"
  local want
  for want in "101 class=Static visible=1 text=Name" "102 class=Edit visible=1 text=" \
    "103 class=Static visible=1 text=Fax Number" "104 class=Edit visible=1 text=" \
    "105 class=Static visible=1 text=Recipient List" "106 class=Button visible=1 text=Add" \
    "107 class=Button visible=1 text=Remove" "108 class=ListBox visible=1 text=" \
    "109 class=Static visible=1 text=Subject" "110 class=Edit visible=1 text=Order form" \
    "111 class=Static visible=1 text=Note" "112 class=Edit visible=1 text=Please sign and return." \
    "113 class=Button visible=1 text=&Cancel" "114 class=Button visible=1 text=&Send Fax"; do
    grep -qxF "control id=$want" "$work/dialog.out" || fail "control [$want]: $(cat "$work/dialog.out")"
  done
  expect_eq "first list" "  item=Mia Moss@555-0111" "$(grep '^  item=' "$work/dialog.out")"
  driver dialog-steps --title "Send Fax" set 102 " Zed Zimmer " set 104 "555-0100" click 106 \
    set 102 "Amy Adams" set 104 " 555-0199" click 106 || fail "adding failed"
  driver window --title "Send Fax" --controls >"$work/dialog.out"
  expect_eq "sorted list" "  item=Amy Adams@555-0199|  item=Mia Moss@555-0111|  item=Zed Zimmer@555-0100" \
    "$(grep '^  item=' "$work/dialog.out" | paste -sd '|')"
  driver dialog-steps --title "Send Fax" select 108 1 click 107 click 114 || fail "remove and send failed"
  expect_vell_ends
  grep -qx 'flags=1' "$mapi_log" || fail "the fax asked for the send dialog"
  expect_eq "recipients" "recip0.name=FAX:Amy Adams@555-0199|recip0.address=FAX:Amy Adams@555-0199|recip1.name=FAX:Zed Zimmer@555-0100|recip1.address=FAX:Zed Zimmer@555-0100" \
    "$(grep -E '^recip[0-9]\.(name|address)=' "$mapi_log" | paste -sd '|')"
  expect_eq "calls" "call=MAPILogon|call=MAPISendMail|call=MAPILogoff" "$(grep '^call=' "$mapi_log" | paste -sd '|')"
}

# Add without a name or a number and Send Fax with an empty list: the
# messages, owned by the dialog, and the focus where the user must type.
# Cancel then ends without sending.
case_fax_dialog_rules() {
  use_recording_mapi
  local doc="$work/order.vel"
  send_doc fax-empty "$doc"
  start_vell "/F $(winpath "$doc")"
  driver window --title "Send Fax" --controls >"$work/dialog.out" || fail "no fax dialog"
  expect_eq "list" "" "$(grep '^  item=' "$work/dialog.out")"

  driver dialog-steps --title "Send Fax" set 104 "555-0100" click 106 msgbox-owner >"$work/owner.out"
  expect_eq "owner" "owner=Send Fax" "$(cat "$work/owner.out")"
  expect_message "Order Form" "You must provide both a name and a fax number"
  expect_eq "focus" "focus=102" "$(driver dialog-steps --title "Send Fax" focus)"

  driver dialog-steps --title "Send Fax" set 102 "Zed" set 104 "  " click 106
  expect_message "Order Form" "You must provide both a name and a fax number"
  expect_eq "focus" "focus=104" "$(driver dialog-steps --title "Send Fax" focus)"

  driver dialog-steps --title "Send Fax" click 114
  expect_message "Order Form" "You must provide at least one fax recipient in order to continue."
  expect_eq "focus" "focus=102" "$(driver dialog-steps --title "Send Fax" focus)"

  driver dialog-steps --title "Send Fax" click 113
  expect_vell_ends
  expect_eq "calls" "call=MAPILogon|call=MAPILogoff" "$(grep '^call=' "$mapi_log" | paste -sd '|')"
}

# A lower-case "fax:" is shown with its prefix and comes back with a second,
# upper-case one; closing the dialog by its frame is a cancel.
case_fax_dialog_lower_case_prefix() {
  use_recording_mapi
  local doc="$work/order.vel"
  send_doc fax-lower-dialog "$doc"
  start_vell "/F $(winpath "$doc")"
  driver window --title "Send Fax" --controls >"$work/dialog.out" || fail "no fax dialog"
  expect_eq "list" "  item=fax:Amy Adams@555-0199" "$(grep '^  item=' "$work/dialog.out")"
  driver dialog-steps --title "Send Fax" click 114
  expect_vell_ends
  grep -qxF 'recip0.name=FAX:fax:Amy Adams@555-0199' "$mapi_log" || fail "$(grep '^recip0' "$mapi_log")"

  : >"$mapi_log"
  start_vell "/F $(winpath "$doc")"
  driver window --title "Send Fax" --close >/dev/null || fail "no fax dialog"
  expect_vell_ends
  expect_eq "calls" "call=MAPILogon|call=MAPILogoff" "$(grep '^call=' "$mapi_log" | paste -sd '|')"
}

case_fax_failures() {
  use_recording_mapi
  local doc="$work/order.vel"
  send_doc fax "$doc"
  export VELL_MAPI_SEND_RESULT=3
  run_expecting_message "/F $(winpath "$doc")" "Order Form" "Unable to fax document. Mapi failure error = 3"
  expect_eq "calls" "call=MAPILogon|call=MAPISendMail|call=MAPILogoff" "$(grep '^call=' "$mapi_log" | paste -sd '|')"
  : >"$mapi_log"
  export VELL_MAPI_LOGON=fail
  run_expecting_message "/F $(winpath "$doc")" "Order Form" "Unable to obtain mapi session handle"
  expect_eq "calls" "call=MAPILogon" "$(grep '^call=' "$mapi_log" | paste -sd '|')"
}

# ---- from the viewer window ----

# Two e-mails in one run: each loads the library anew (the recording one
# counts its sessions from the start again) and logs on with a new session.
case_email_twice_from_viewer() {
  use_recording_mapi
  local doc="$work/report.vel"
  send_doc email-vel-kept "$doc"
  cp "$doc" "$work/before.vel"
  start_vell "$(winpath "$doc")"
  viewer_command "Quarterly Report" $CMD_EMAIL
  viewer_command "Quarterly Report" $CMD_EMAIL
  driver dialog-steps --title "Quarterly Report" settle >/dev/null
  close_viewer "Quarterly Report"
  expect_eq "calls" "$(printf 'call=MAPILogon|call=MAPISendMail|call=MAPILogoff|%.0s' 1 2)" \
    "$(grep '^call=' "$mapi_log" | paste -sd '|')|"
  expect_eq "sessions" "session=$FIRST_SESSION session=$FIRST_SESSION" \
    "$(grep -A8 '^call=MAPILogon' "$mapi_log" | grep '^session=' | paste -sd ' ')"
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
}

# From the window the fax dialog is owned by the viewer; its own messages
# by the dialog; once it is closed, messages belong to the viewer again.
case_fax_dialog_from_viewer() {
  use_recording_mapi
  local doc="$work/order.vel"
  send_doc fax-dialog "$doc"
  export VELL_MAPI_SEND_RESULT=3
  start_vell "$(winpath "$doc")"
  viewer_command "Order Form" $CMD_FAX
  expect_eq "dialog owner" "owner=Order Form" "$(driver dialog-steps --title "Send Fax" owner)"
  driver dialog-steps --title "Send Fax" click 106 msgbox-owner >"$work/owner.out"
  expect_eq "message owner" "owner=Send Fax" "$(cat "$work/owner.out")"
  expect_message "Order Form" "You must provide both a name and a fax number"
  driver dialog-steps --title "Send Fax" click 114 >/dev/null
  driver dialog-steps --title "Order Form" msgbox-owner >"$work/owner.out"
  expect_eq "message owner" "owner=Order Form" "$(cat "$work/owner.out")"
  expect_message "Order Form" "Unable to fax document. Mapi failure error = 3"
  close_viewer "Order Form"
}

# Save as .vel over an existing file: a copy that differs from the document
# only in its two flags; the document, which asks to be deleted, keeps its
# own header until the viewer ends and deletes it.
case_save_as_vel() {
  local doc="$work/scratch.vel" target="$work/copy.vel"
  send_doc email-vel "$doc"
  cp "$doc" "$work/before.vel"
  echo "old contents" >"$target"
  start_vell "$(winpath "$doc")"
  save_as "Quarterly Report" "$(winpath "$target")"
  # Replacing the existing file is confirmed in the dialog's question.
  driver dialog-steps --title "Quarterly Report" msgbox-click 6 >/dev/null ||
    fail "no question about replacing"
  wait_gone "Save File"
  driver dialog-steps --title "Quarterly Report" settle >/dev/null
  expect_eq "bytes changed in the copy" "115 233 " "$(changed_offsets "$work/before.vel" "$target")"
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
  close_viewer "Quarterly Report"
  [ ! -e "$doc" ] || fail "the delete-when-closed document was kept"
}

# Save as .EXE (any letter case): a self-extracting viewer that, run with
# no arguments, shows its own document at once, offers no e-mail, fax or
# save button, registers nothing and is not deleted.
case_save_as_exe() {
  reg_clear
  local doc="$work/report.vel" target="$work/Report.Exe"
  send_doc email-vel-kept "$doc"
  cp "$doc" "$work/before.vel"
  start_vell "$(winpath "$doc")"
  expect_eq "buttons of the document" "buttons=12" \
    "$(driver dialog-steps --title "Quarterly Report" buttons 112)"
  save_as "Quarterly Report" "$(winpath "$target")"
  wait_gone "Save File"
  driver dialog-steps --title "Quarterly Report" settle >/dev/null
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
  close_viewer "Quarterly Report"
  expect_self_extracting "$target" "$work/before.vel"

  reg_clear
  program="$target"
  start_vell ""
  driver window --title "Quarterly Report" --controls >"$work/viewer.out" || fail "no viewer window"
  grep -q '^control id=108 ' "$work/viewer.out" || fail "not the viewer window: $(cat "$work/viewer.out")"
  expect_eq "buttons of the copy" "buttons=10" \
    "$(driver dialog-steps --title "Quarterly Report" buttons 112)"
  close_viewer "Quarterly Report"
  [ -f "$target" ] || fail "the self-extracting viewer deleted itself"
  expect_eq ".vel after the self-extracting viewer" "(missing)" "$(reg_value .vel)"

  # /E is no e-mail request for a self-extracting viewer: it shows its
  # document, and the mail system is never called.
  use_recording_mapi
  start_vell "/E"
  driver window --title "Quarterly Report" --controls >"$work/viewer.out" || fail "no viewer window"
  grep -q '^control id=108 ' "$work/viewer.out" || fail "not the viewer window: $(cat "$work/viewer.out")"
  close_viewer "Quarterly Report"
  expect_eq "mail system calls" "" "$(cat "$mapi_log")"
}

# A name without .VEL or .EXE, the open document's own name, and Cancel:
# nothing is written and the document file keeps its header.
case_save_refused() {
  local doc="$work/report.vel"
  send_doc email-vel-kept "$doc"
  cp "$doc" "$work/before.vel"
  mkdir -p "$work/start here"
  start_vell --cwd "$(winpath "$work/start here")" "$(winpath "$doc")"
  # The dialog's title, filters, and the current folder to start in.
  viewer_command "Quarterly Report" $CMD_SAVE
  driver window --title "Save File" --controls --cancel >"$work/dialog.out" || fail "no save dialog"
  grep -qx 'control id=1137 class=ComboBox visible=1 text=start here' "$work/dialog.out" ||
    fail "not in the current folder: $(grep 'id=1137' "$work/dialog.out")"
  expect_eq "filters" "  item=vell Document|  item=Executable file|  item=PDF document" \
    "$(grep -A3 '^control id=1136 ' "$work/dialog.out" | grep '^  item=' | paste -sd '|')"
  grep -q '^control id=1040 class=Button visible=0 ' "$work/dialog.out" || fail "the read-only box is shown"

  save_as "Quarterly Report" "$(winpath "$work/report.txt")"
  expect_message "Quarterly Report" \
    "Invalid file name: $(winpath "$work/report.txt")\\rFile must have an .EXE extension"
  [ ! -e "$work/report.txt" ] || fail "a .txt file was written"

  save_as "Quarterly Report" "$(winpath "$doc")"
  driver dialog-steps --title "Quarterly Report" msgbox-click 6 >/dev/null || fail "no question"
  expect_message "Quarterly Report" \
    "Can't save the document over itself: $(winpath "$doc")\\rUnable to save document"

  viewer_command "Quarterly Report" $CMD_SAVE
  driver window --title "Save File" --cancel >/dev/null || fail "no save dialog"
  driver dialog-steps --title "Quarterly Report" settle >/dev/null
  cmp -s "$doc" "$work/before.vel" || fail "the document file changed"
  close_viewer "Quarterly Report"
}
