#!/usr/bin/env bash
# Checks the Debian package of the tools that the build's package target
# made: check_deb.sh PACKAGE_DIR VERSION
# Its fields, its files, each tool's --version and --help run from the
# unpacked package, and lintian (when installed) without errors.
set -euo pipefail
dir=$1
version=$2
fail() {
  echo "FAIL (deb): $*"
  exit 1
}
deb=$(ls "$dir"/vell-tools_"$version"_*.deb 2>/dev/null | head -n1) || true
[ -n "$deb" ] || fail "no vell-tools_${version}_*.deb in $dir (cmake --build --preset native --target package)"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vell-tools ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), the project's is $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
# Computed from the libraries the programs link, plus the fonts.
depends=$(field Depends)
names=$(sed 's/ ([^)]*)//g' <<<"$depends" | tr -d ' ' | tr ',' '\n')
for package in libc6 libstdc++6 libcairo2 libfontconfig1 fonts-liberation; do
  grep -qxF "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort | tr '\n' ' ')
[ "$files" = "./usr/bin/vellconvert ./usr/bin/velldump ./usr/bin/vellmake ./usr/share/doc/vell-tools/changelog.gz ./usr/share/doc/vell-tools/copyright " ] ||
  fail "files: $files"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
for tool in vellconvert vellmake velldump; do
  out=$("$unpacked/usr/bin/$tool" --version) || fail "$tool --version failed"
  [ "$out" = "$tool $version" ] || fail "$tool --version: $out"
  "$unpacked/usr/bin/$tool" --help >"$unpacked/help" || fail "$tool --help failed"
  grep -q "^usage: $tool " "$unpacked/help" || fail "$tool --help: $(head -n1 "$unpacked/help")"
done

if command -v lintian >/dev/null; then
  lintian --allow-root --fail-on error "$deb" >"$unpacked/lintian" 2>&1 ||
    fail "lintian: $(cat "$unpacked/lintian")"
  cat "$unpacked/lintian"
fi
echo "PASS (deb): $deb"
