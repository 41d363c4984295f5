#!/bin/bash
# Runs the whole catalogue on every stock board, as make run runs it (release
# build), and checks that each board fails exactly the test cases its profile
# names in [Profile] MeantToFail. About five minutes on two cores.
# Usage: tools/check-stock-boards.sh [HARNESS]
set -uo pipefail
cd "$(dirname "$0")/.."
harness=${1:-build/release/bin/orbex-harness}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for profile in boards/*.ini; do
  board=$(basename "$profile" .ini)
  mkdir -p "$work/$board" && cp examples/default.gf examples/orbex.ini "$work/$board/"
  out=$("$harness" --workdir "$work/$board" --no-progress --suite --board "$board" 2>&1)
  failed=$(sed -n '/^Summary: /,$p' <<<"$out" | grep '^FAIL  ' | cut -c7-24 | sed 's/ *$//' | paste -sd, - | sed 's/,/, /g')
  meant=$(sed -n 's/^MeantToFail=//p' "$profile")
  if [ "$failed" = "$meant" ]; then
    echo "ok    $board: ${failed:-nothing}"
  else
    echo "FAIL  $board: failed [${failed}], meant to fail [${meant}]"
    status=1
  fi
done
exit $status
