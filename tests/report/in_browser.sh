#!/bin/bash
# The HTML report of a run on a stock board with failures, opened in headless
# Chromium (skipped, exit 77, where none is installed).
set -euo pipefail
harness=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/examples/default.gf" "$source_dir/examples/orbex.ini" "$work/"
"$harness" --workdir "$work" --no-progress --quiet --board no-lock-525 --html "$work/report.html" \
  tc2200 tc2110 tc3200 -- "-g 2 -d 11 -t 1" "-g 2 -d 10 -t 1" || [ $? -eq 1 ]
exec "$source_dir/tools/report-in-browser.sh" "$work/report.html" "$work/report.png"
