#!/usr/bin/env bash
# Names shared by print_setup.sh and print_cleanup.sh, derived from the rig
# folder in $rig, so that two build folders never share a scheduler, a
# socket or a cups-pdf settings file.
# shellcheck shell=bash

cups_dir="$rig/cups"
printer=OfficePDF
rig_key=$(printf '%s' "$rig" | cksum | cut -d' ' -f1)
cups_pdf_instance="vell$rig_key"
cups_pdf_conf="/etc/cups/cups-pdf-$cups_pdf_instance.conf"
# A Unix socket's path holds at most 107 bytes; a deep build folder gets
# one in /tmp instead.
socket="$cups_dir/cups.sock"
[ ${#socket} -le 100 ] || socket="/tmp/vell-cups-$rig_key/cups.sock"

# Ends the scheduler recorded in DIR/cupsd.pid, if it is still that cupsd.
stop_private_cupsd() {
  local pid_file="$1/cupsd.pid" pid
  [ -f "$pid_file" ] || return 0
  pid=$(cat "$pid_file")
  if [ -n "$pid" ] && [ "$(cat /proc/"$pid"/comm 2>/dev/null)" = cupsd ]; then
    kill "$pid"
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$pid_file"
}
