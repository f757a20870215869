# Helpers of the e-mail, fax and save cases (cases_send.sh, cases_pdf.sh),
# with the recording mapi32.dll of tests/wine/mapi.
# shellcheck shell=bash

readonly DATE_PATTERN='[0-9]{2}-[0-9]{2}-[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}'
# The session the recording library hands out first after being loaded.
readonly FIRST_SESSION=4097

# ---- helpers ------------------------------------------------------------

# The log with the date masked, for comparing whole.
mapi_calls() { sed -E "s/^date=$DATE_PATTERN\$/date=<DATE>/" "$mapi_log"; }

expect_calls() {
  diff <(printf '%s\n' "$@") <(mapi_calls) >"$work/calls.diff" ||
    fail "mail system calls differ:\n$(cat "$work/calls.diff")"
}

logon_lines() { # PROFILE PASSWORD
  printf '%s\n' "call=MAPILogon" 'module=C:\windows\system32\mapi32.dll' "ui=0" \
    "profile=$1" "password=$2" "flags=3" "reserved=0" "session_in=0" \
    "session=$FIRST_SESSION" "result=0"
}

logoff_lines() {
  printf '%s\n' "call=MAPILogoff" "session=$FIRST_SESSION" "ui=0" "flags=0" "reserved=0"
}

send_head_lines() { # FLAGS SUBJECT NOTE RECIP_COUNT
  printf '%s\n' "call=MAPISendMail" "session=$FIRST_SESSION" "ui=0" "flags=$1" "reserved=0" \
    "message=set" "reserved=0" "subject=$2" "note=$3" "message_type=(null)" "date=<DATE>" \
    "conversation=(null)" "message_flags=0" "originator=(null)" "recip_count=$4"
}

recip_lines() { # INDEX NAME ADDRESS
  printf '%s\n' "recip$1.reserved=0" "recip$1.class=1" "recip$1.name=$2" "recip$1.address=$3" \
    "recip$1.eid_size=0" "recip$1.eid=(null)"
}

file_lines() { # POSITION PATH NAME
  printf '%s\n' "file_count=1" "files=set" "file0.reserved=0" "file0.flags=0" \
    "file0.position=$1" "file0.path=$2" "file0.name=$3" "file0.type=(null)" "file0.exists=1"
}

# No self-extracting attachment is left in the prefix's temporary folders.
temp_attachments() { find "$WINEPREFIX/drive_c/users" -name '~D*.exe' 2>/dev/null | wc -l; }

expect_no_temp_attachments() {
  expect_eq "temporary attachments left" "0" "$(temp_attachments)"
}

# The e-mail settings of the "email-*" documents.
readonly EMAIL_NOTE='Here are the figures.\r\nRegards\r\n '
email_recip_lines() {
  recip_lines 0 "Ann Archer" "ann@example.org"
  recip_lines 1 "Bob Baker" "bob@example.org"
}

# ---- from the viewer window ---------------------------------------------

# Menu commands of the viewer window.
readonly CMD_EMAIL=708 CMD_FAX=709 CMD_SAVE=710

viewer_command() { # TITLE COMMAND
  driver dialog-steps --title "$1" command "$2" || fail "no viewer window [$1]"
}

# Waits until no window has this title any more.
wait_gone() {
  local _
  for _ in $(seq 1 100); do
    driver window --title "$1" --timeout 0 >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "[$1] is still open"
}

close_viewer() { # TITLE
  driver window --title "$1" --close >/dev/null || fail "the viewer window did not close"
  expect_vell_ends
}

# save_as TITLE NAME: the Save command, the name typed into the save dialog
# and Save pressed, without waiting: the dialog may still ask whether to
# replace an existing file.
save_as() {
  viewer_command "$1" $CMD_SAVE
  driver window --title "Save File" --set-edit "1148=$2" >/dev/null || fail "no save dialog"
  driver dialog-steps --title "Save File" command 1 || fail "the save dialog went away"
}

