#!/usr/bin/env bash
# Host paths outside the ANSI code page (Wine's is 1252 here): the harness on
# the virtual board with its working directory, temporary directory, board
# profile, JSON stream and JUnit report all below "C:\Прогон 試験". The suite
# runs each group in a child harness through the temporary directory, so
# every path crosses a command line, a file name and a directory listing.
set -euo pipefail
bin=$1 source=$2 work=$3
here=$(dirname "$0")
source "$here/common.sh"
for f in orbex.dll verdict.dll orbex-harness.exe; do
  [ -f "$bin/$f" ] || { echo "$bin/$f is missing: run make windows"; exit 1; }
done
export LC_ALL=C.UTF-8  # Wine reads the Unix command line and environment as UTF-8

fresh_prefix "$work/prefix"
name='Прогон 試験'
root="$WINEPREFIX/drive_c/$name"
mkdir -p "$root/work" "$root/tmp"
cp "$source"/examples/{default.gf,orbex.ini} "$root/work/"
cp "$source/boards/bad-hwtable.ini" "$root/"
kit="$work/kit"
mkdir -p "$kit"
cp "$bin"/{orbex.dll,verdict.dll,orbex-harness.exe} "$kit"/
windows_root="C:\\$name"
"$loader" reg add 'HKCU\Environment' /v TEMP /d "$windows_root\\tmp" /f > /dev/null 2>&1
"$loader" reg add 'HKCU\Environment' /v TMP /d "$windows_root\\tmp" /f > /dev/null 2>&1

# Windows programs of the prefix get that temporary directory: a file put
# there is found through %TEMP% (a batch file: the console cannot print the
# name, and cmd's own command line would need a second quoting).
touch "$root/tmp/marker"
printf '@if exist "%%TEMP%%\\marker" (echo found) else (echo missing)\r\n' > "$work/temp_check.bat"
temp=$("$loader" cmd /c "$(wine_path "$work/temp_check.bat")" 2> /dev/null | tr -d '\r' || true)
rm -f "$root/tmp/marker"

cd "$kit"
set +e
timeout 300 "$loader" orbex-harness.exe --board "$windows_root\\bad-hwtable.ini" --suite hwcaps \
  --workdir "$windows_root\\work" --json "$windows_root\\events.jsonl" --junit "$windows_root\\junit.xml" \
  --no-progress > harness.txt 2>&1
status=$?
set -e
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }
# The board's HWTable checks fail: status 1, not 2 (a harness error).
check "harness exit status 1 (the board's failed checks), was $status" "[ $status -eq 1 ]"
check "JSON stream written: 13 test cases returned" "[ \"\$(grep -c '\"event\":\"Return\"' '$root/events.jsonl' 2>/dev/null)\" = 13 ]"
check "JSON stream: tc5002 failed on the board's signature" \
  "grep -q '\"test\":\"tc5002\".*\"status\":0' '$root/events.jsonl'"
check "JUnit report written with 13 test cases" "[ \"\$(grep -c '<testcase ' '$root/junit.xml' 2>/dev/null)\" = 13 ]"
check "the log was written in the working directory" "grep -q 'Orbex.exe Loaded.' '$root/work/orbex.txt'"
check "Windows programs get the temporary directory ($temp)" "[ '$temp' = found ]"
check "the temporary directory is left empty" "[ -z \"\$(ls -A '$root/tmp')\" ]"
stop_wine
[ $failed -eq 0 ] || { echo "--- harness output"; cat harness.txt; }
exit $failed
