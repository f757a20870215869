#!/usr/bin/env bash
# Fetches Debian's source packages of cairo and pixman into DEST with
# `apt-get source`, from the archives the machine's apt already uses, without
# touching the machine's apt configuration: the deb-src lines are derived
# from the configured deb lines into a private sources list, and the package
# lists live in a private state folder (apt's -o options). apt verifies the
# archive signatures and the source files' checksums.
# Usage: fetch-sources.sh DEST    (does nothing when DEST/.fetched exists)
set -euo pipefail
dest=$1
[ -f "$dest/.fetched" ] && exit 0
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
state=$dest/apt-state
rm -rf "$state"
mkdir -p "$state/lists/partial" "$state/cache/archives/partial" "$state/parts"

# One-line deb entries from sources.list and *.list; deb822 stanzas from
# *.sources (Enabled: no skipped). Only files apt itself reads are used.
derive_deb_src() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]\+/deb-src /p' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '
      function flush() {
        if (types ~ /(^|[ \t])deb([ \t]|$)/ && enabled !~ /^(no|false)$/) {
          n = split(uris, u, /[ \t]+/); m = split(suites, s, /[ \t]+/)
          opt = signed != "" ? "[signed-by=" signed "] " : ""
          for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
            if (u[i] != "" && s[j] != "") print "deb-src " opt u[i] " " s[j] " " comps
        }
        types = uris = suites = comps = signed = enabled = ""
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      { key = tolower($1); sub(/^[^:]*:[ \t]*/, ""); val = $0 }
      key == "types:" { types = val } key == "uris:" { uris = val }
      key == "suites:" { suites = val } key == "components:" { comps = val }
      key == "signed-by:" { signed = val } key == "enabled:" { enabled = tolower(val) }
      END { flush() }' "$f"
  done
}
derive_deb_src > "$state/sources.list"
[ -s "$state/sources.list" ] || { echo "no deb sources configured" >&2; exit 1; }

apt_opts=(
  -o "Dir::Etc::SourceList=$state/sources.list"
  -o "Dir::Etc::SourceParts=$state/parts"
  -o "Dir::State=$state"
  -o "Dir::State::Lists=$state/lists"
  -o "Dir::State::status=/var/lib/dpkg/status"
  -o "Dir::Cache=$state/cache"
  -o "APT::Sandbox::User=root"
  -o "Debug::NoLocking=1"
)
apt-get "${apt_opts[@]}" -q update
cd "$dest"
for pkg in cairo pixman; do
  apt-get "${apt_opts[@]}" -q source "$pkg" && continue
  # A mirror may lack a Debian diff that the orig tarball does not need to
  # build (pixman's packaging only). apt has fetched and checked the .dsc and
  # the orig tarball against the signed index; unpack the tarball after
  # checking it against the .dsc once more.
  dsc=$(ls "$pkg"_*.dsc | head -1)
  orig=$(ls "$pkg"_*.orig.tar.* | head -1)
  want=$(sed -n '/^Checksums-Sha256:/,/^[^ ]/p' "$dsc" | awk -v f="$orig" '$3 == f { print $1 }')
  [ -n "$want" ] && [ "$(sha256sum "$orig" | cut -d' ' -f1)" = "$want" ] ||
    { echo "$orig does not match $dsc" >&2; exit 1; }
  echo "$pkg: Debian diff unavailable, unpacking $orig (sha256 checked against $dsc)"
  tar -xf "$orig"
done
# Debian's patches to cairo's build system (maintainer mode, perf
# utilities, shared-library symbol exports) touch nothing a static library
# uses, but leave configure.ac and Makefile.am newer than the release's
# generated files, and make would then want automake 1.15. The release's
# generated files are made the newest again; the C patches stay applied.
if [ -d cairo-1.16.0 ]; then
  (cd cairo-1.16.0 && touch aclocal.m4 && sleep 1 && touch configure config.h.in &&
   find . -name Makefile.in -exec touch {} +)
fi
# The build expects these releases; another archive state would change them.
ls -d cairo-1.16.0 pixman-0.42.2 >/dev/null
touch "$dest/.fetched"
