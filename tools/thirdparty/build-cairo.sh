#!/usr/bin/env bash
# Builds static pixman and cairo for Windows (MinGW-w64) from Debian's source
# packages: the image and PDF surfaces, the win32 surface and the win32 font
# backend; no FreeType, fontconfig, PNG or X. zlib is libz-mingw-w64-dev's.
# Usage: build-cairo.sh HOST SOURCES PREFIX
#   HOST     x86_64-w64-mingw32 or i686-w64-mingw32
#   SOURCES  folder that fetch-sources.sh filled
#   PREFIX   install folder; PREFIX/logs keeps every step's output
# The sources are only read: each library builds in PREFIX/build, cairo from
# a copy there with our patches (cairo-*.patch beside this script) applied.
set -euo pipefail
host=$1
src=$(cd "$2" && pwd)
prefix=$3
mkdir -p "$prefix/logs" "$prefix/build"
prefix=$(cd "$prefix" && pwd)
jobs=${VELL_THIRDPARTY_JOBS:-2}

# configure must find only the cross prefix's libraries, never the host's.
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig:/usr/$host/lib/pkgconfig
export PKG_CONFIG_PATH=
# Without -U_FORTIFY_SOURCE the objects call __memcpy_chk and friends, which
# MinGW's static runtime does not have.
export CFLAGS="-O2 -Wp,-U_FORTIFY_SOURCE"
export CPPFLAGS=
export LDFLAGS=

step() {  # step NAME COMMAND...: runs the command with its output in a log
  local log=$prefix/logs/$1.log
  shift
  if ! "$@" >"$log" 2>&1; then
    echo "third-party build failed; last lines of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
  fi
}

mkdir -p "$prefix/build/pixman" "$prefix/build/cairo"
cd "$prefix/build/pixman"
step pixman-configure "$src/pixman-0.42.2/configure" --host="$host" --prefix="$prefix" \
  --enable-static --disable-shared --disable-gtk --disable-libpng --disable-openmp \
  --disable-timers
step pixman-make make -j"$jobs" -C pixman
step pixman-install make -C pixman install
step pixman-pc make install-pkgconfigDATA

rm -rf "$prefix/build/cairo-1.16.0"
cp -a "$src/cairo-1.16.0" "$prefix/build/"
for patch in "$(dirname "$0")"/cairo-*.patch; do
  step "cairo-patch-$(basename "$patch" .patch)" patch -d "$prefix/build/cairo-1.16.0" -p1 -i "$patch"
done
cd "$prefix/build/cairo"
step cairo-configure "$prefix/build/cairo-1.16.0/configure" --host="$host" --prefix="$prefix" \
  --enable-static --disable-shared \
  --enable-win32 --enable-win32-font --enable-pdf \
  --disable-png --disable-ft --disable-fc --disable-ps --disable-svg \
  --disable-xlib --disable-xlib-xrender --disable-xcb --disable-quartz \
  --disable-gl --disable-glesv2 --disable-egl --disable-glx --disable-wgl \
  --disable-script --disable-interpreter --disable-trace --disable-gobject \
  --disable-tee --disable-xml --disable-symbol-lookup --disable-valgrind \
  --disable-full-testing
step cairo-make make -j"$jobs" -C src libcairo.la
step cairo-install make -C src install-libLTLIBRARIES install-cairoincludeHEADERS \
  install-nodist_cairoincludeHEADERS install-pkgconfigDATA
echo "cairo and pixman for $host in $prefix"
