#!/usr/bin/env bash
# The project's unit tests, cross-built for Windows, run under Wine against the
# virtual board (32-bit long, path separators and formatting differ there).
set -euo pipefail
bin=$1 work=$2
source "$(dirname "$0")/common.sh"
if [ ! -f "$bin/orbex_tests.exe" ]; then echo "$bin/orbex_tests.exe is missing: run make windows"; exit 1; fi
fresh_prefix "$work/prefix"
cd "$bin"
set +e
timeout 600 "$loader" orbex_tests.exe --gtest_brief=1 > "$work/output.txt" 2>&1
status=$?
set -e
stop_wine
tr -d '\r' < "$work/output.txt" | grep -v '^orbex: message box' | tail -n 30
# A crash under Wine can end with status 0 (its debugger takes the process
# over): the run counts only when GoogleTest printed its summary without failures.
if [ $status -eq 0 ] && { ! grep -aq '^\[  PASSED  \]' "$work/output.txt" || grep -aq '^\[  FAILED  \]' "$work/output.txt"; }; then
  echo "orbex_tests.exe did not finish its run (crash?): see $work/output.txt"
  status=1
fi
exit $status
