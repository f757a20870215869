#!/usr/bin/env bash
# Runs the Wine suite many times in a row, for maintainers (not part of
# ./test): tests/wine/soak.sh N [BUILD_DIR]
#
# BUILD_DIR is a configured and built win64 (or win32) build folder,
# build/win64 unless given. Each run is one plain `ctest` of every Wine
# case, set-up and clean-up included, each case once. Prints a line per
# run, then how many runs passed and, for every failure, the run, the case
# and the first line the case printed. Every run's whole output stays in
# BUILD_DIR/soak/run-K.log, with the load average before and after it;
# a failing case's files (its log, its screenshot) are copied to
# BUILD_DIR/soak/run-K/ before the next run empties them.
set -uo pipefail
[ $# -ge 1 ] && [ "$1" -gt 0 ] 2>/dev/null || { echo "usage: tests/wine/soak.sh N [BUILD_DIR]" >&2; exit 64; }
runs=$1
build=${2:-$(cd "$(dirname "$0")/../.." && pwd)/build/win64}
[ -f "$build/CTestTestfile.cmake" ] || { echo "soak: $build is not a configured build folder" >&2; exit 1; }
out="$build/soak"
rm -rf "$out"
mkdir -p "$out"
work="$build/tests/wine/rig/work"

load() { cut -d' ' -f1-3 /proc/loadavg; }

passed=0
failures=()
for run in $(seq 1 "$runs"); do
  log="$out/run-$run.log"
  start=$SECONDS
  before=$(load)
  ctest --test-dir "$build" --timeout 300 --output-on-failure >"$log" 2>&1
  status=$?
  after=$(load)
  printf 'load before %s, after %s, %d s\n' "$before" "$after" $((SECONDS - start)) >>"$log"
  # A failed case's line in CTest's output, then the first line of what it
  # printed (its FAIL line), or how CTest ended it.
  mapfile -t failed < <(awk '
    /Test +#[0-9]+: .*\*\*\*/ {
      sub(/^.*Test +#[0-9]+: /, ""); name = $1
      how = $0; sub(/^[^*]*\*+/, "", how); sub(/ +[0-9.]+ sec.*$/, "", how)
      want = 1; next }
    want && NF { print name ": " ($0 ~ /^ *Start [0-9]+:/ ? how : $0); want = 0 }
    END { if (want) print name ": " how }' "$log")
  if [ "$status" = 0 ] && [ ${#failed[@]} -eq 0 ]; then
    passed=$((passed + 1))
    echo "run $run: passed ($((SECONDS - start)) s, load $before -> $after)"
  else
    [ ${#failed[@]} -gt 0 ] || failed=("ctest: exit $status, no failed case named")
    echo "run $run: FAILED ($((SECONDS - start)) s, load $before -> $after)"
    mkdir -p "$out/run-$run"
    for line in "${failed[@]}"; do
      failures+=("run $run: $line")
      name=${line%%:*}
      [ -d "$work/${name#wine.}" ] && cp -r "$work/${name#wine.}" "$out/run-$run/"
    done
  fi
done

echo "$passed of $runs runs passed"
for f in "${failures[@]}"; do echo "  $f"; done
[ "$passed" = "$runs" ]
