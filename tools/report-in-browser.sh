#!/bin/bash
# Opens an HTML report of orbex-harness in headless Chromium, as a person would
# open it in a browser: saves a screenshot, and checks that the page's script
# ran (it shows the filters) and that the page asked for nothing outside the
# file. Usage: tools/report-in-browser.sh REPORT.html [SCREENSHOT.png]
# Exit status 77 when no Chromium is installed (apt-get install chromium).
set -euo pipefail
report=$(realpath "$1")
shot=${2:-${report%.html}.png}
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
  echo "report-in-browser: no Chromium installed (apt-get install chromium); not checked"
  exit 77
fi
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
# No network: every host name fails to resolve; a page that needs one shows it.
flags=(--headless=new --no-sandbox --disable-gpu --hide-scrollbars --no-first-run --user-data-dir="$profile"
       --host-resolver-rules="MAP * ~NOTFOUND" --window-size=1400,1800 --virtual-time-budget=2000)
dom=$("$browser" "${flags[@]}" --dump-dom "file://$report" 2>/dev/null)
if ! grep -q '<form id="filters">' <<<"$dom"; then
  echo "report-in-browser: the page's script did not run (the filters stay hidden)"
  exit 1
fi
if grep -Eq '(src|href)="(https?:)?//' <<<"$dom"; then
  echo "report-in-browser: the page refers to something outside the file"
  exit 1
fi
"$browser" "${flags[@]}" --screenshot="$shot" "file://$report" >/dev/null 2>&1
# A PNG, and not a blank page: a blank 1400x1800 screenshot compresses to a few KB.
if [ "$(head -c 8 "$shot" | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
  echo "report-in-browser: no screenshot written"
  exit 1
fi
size=$(stat -c %s "$shot")
if [ "$size" -lt 40000 ]; then
  echo "report-in-browser: the screenshot ($size bytes) looks blank"
  exit 1
fi
echo "report-in-browser: $report shows in Chromium; screenshot $shot ($size bytes)"
