#!/usr/bin/env bash
# The Win32 adapter under Wine: orbex-harness.exe on the real platform runs the
# self-setup (copies and registrations for real in the prefix), a graph test
# (Wine's display driver has no capture board: the NA report) and a rejected
# command line, whose message box --answer-message-boxes reports and answers
# without showing it (the event carries "answered":1, IDOK); on the real
# platform the harness keeps orbex.dll loaded until it exits. The events must
# be exactly the expected ones, and the log written through the registered
# logging component must hold "Orbex.exe Loaded.".
# A fifth argument "x86" runs the 32-bit kit under Wine's 32-bit loader in a
# 32-bit prefix (Windows XP), where that loader installs and runs.
set -euo pipefail
bin=$1 source=$2 work=$3 json_check=$4 arch=${5:-x86_64}
here=$(dirname "$0")
source "$here/common.sh"
version=winxp64  # Windows XP x64 (NT 5.2): the self-setup declares the codec in the registry
if [ "$arch" = x86 ]; then use_32bit_loader; version=winxp; fi
for f in orbex.dll verdict.dll qelsserv.dll orbex-harness.exe; do
  [ -f "$bin/$f" ] || { echo "$bin/$f is missing: run make windows"; exit 1; }
done

fresh_prefix "$work/prefix"
"$loader" winecfg /v "$version" > /dev/null 2>&1

kit="$work/kit"
mkdir -p "$kit"
cp "$bin"/{orbex.dll,verdict.dll,qelsserv.dll,orbex-harness.exe} "$source"/examples/{default.gf,orbex.ini} "$kit"/
# Stand-ins for the outside components the self-setup copies.
for f in msyuv.dll vanalyze.ax vbianlyr.ax qelvvpxx.ax iqellcs.dll; do echo "stand-in for $f" > "$kit/$f"; done

cd "$kit"
set +e
# Wine's loader trace shows whether the harness unloads orbex.dll before it exits.
WINEDEBUG=-all,+loaddll timeout 300 "$loader" orbex-harness.exe --json events.jsonl --no-progress --answer-message-boxes \
  tc0000 tc2200 "tc2200 0" > harness.txt 2>&1
status=$?
set -e
# Wall times differ from run to run: the Timing events' are written as W.
tr -d '\r' < events.jsonl | sed -E 's/"wallUs":[0-9]+/"wallUs":W/' > events.txt
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }

# The refused command line "tc2200 0" returns Fail without a report: its verdict.
check "harness exit status 1 (the refused command line fails)" "[ $status -eq 1 ]"
check "orbex.dll loaded" "grep -qi 'Loaded .*orbex\.dll' harness.txt"
check "orbex.dll kept loaded until the harness exits" "! grep -qi 'Unloaded .*orbex\.dll' harness.txt"
if ! diff -u "$here/smoke_expected.jsonl" events.txt; then echo "FAILED: events differ (- expected, + seen)"; failed=1; else echo "ok: events as expected"; fi
system32="$WINEPREFIX/drive_c/windows/system32"
for f in msyuv.dll vanalyze.ax vbianlyr.ax qelvvpxx.ax iqellcs.dll; do
  check "self-setup copied $f" "cmp -s '$kit/$f' '$system32/$f'"
done
codec=$("$loader" reg query 'HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Drivers32' /v VIDC.UYVY 2>/dev/null | tr -d '\r' || true)
check "codec declared (VIDC.UYVY = MSYUV.DLL)" "echo '$codec' | grep -q 'VIDC.UYVY *REG_SZ *MSYUV.DLL'"
server=$("$loader" reg query 'HKCR\CLSID\{01204A61-8C2F-11D1-B8EF-006097B589E9}\InprocServer32' 2>/dev/null | tr -d '\r' || true)
check "logging component registered by regsvr32" "echo '$server' | grep -qi 'qelsserv.dll'"
check "orbex.txt holds \"Orbex.exe Loaded.\"" \
  "grep -qE '^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:.]{12} 0 0x0000AF00 Orbex.exe Loaded.\$' orbex.txt"

# "--json -" keeps standard output to the stream: the self-setup again, whose
# copies print through cmd.exe, and every line must still be one JSON object.
set +e
timeout 300 "$loader" orbex-harness.exe --json - --no-progress --answer-message-boxes tc0000 > stream.jsonl 2> stream.err
stream_status=$?
set -e
check "--json - run exit status 0" "[ $stream_status -eq 0 ]"
check "--json - stream is JSON Lines ($("$json_check" stream.jsonl 2>&1 | tail -n1))" "'$json_check' stream.jsonl > /dev/null"
check "--json - stream holds the self-setup's Return" "grep -q '\"commandLine\":\"tc0000\",\"value\":' stream.jsonl"
stop_wine
[ $failed -eq 0 ] || { echo "--- harness output"; cat harness.txt; echo "--- standard error of the stream run"; cat stream.err; }
exit $failed
