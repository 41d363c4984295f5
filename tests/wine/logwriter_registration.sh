#!/usr/bin/env bash
# The logging component registers and unregisters cleanly with regsvr32 under
# Wine: registering writes the class key with the DLL's path and the
# threading model "Both", registering twice is harmless, unregistering leaves
# no key, and unregistering again still succeeds.
set -euo pipefail
bin=$1 work=$2
here=$(dirname "$0")
source "$here/common.sh"
[ -f "$bin/qelsserv.dll" ] || { echo "$bin/qelsserv.dll is missing: run make windows"; exit 1; }
fresh_prefix "$work/prefix"
mkdir -p "$work/kit"
cp "$bin/qelsserv.dll" "$work/kit/"
cd "$work/kit"
key='HKCR\CLSID\{01204A61-8C2F-11D1-B8EF-006097B589E9}'
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }
query() { "$loader" reg query "$1" 2>/dev/null | tr -d '\r' || true; }

first=0; "$loader" regsvr32 /s qelsserv.dll > /dev/null 2>&1 || first=$?
check "regsvr32 registers (exit $first)" "[ $first -eq 0 ]"
server=$(query "$key\\InprocServer32")
check "InprocServer32 names qelsserv.dll" "echo '$server' | grep -qi 'qelsserv.dll'"
check "threading model Both" "echo '$server' | grep -q 'ThreadingModel *REG_SZ *Both'"
second=0; "$loader" regsvr32 /s qelsserv.dll > /dev/null 2>&1 || second=$?
check "registering again is harmless (exit $second)" "[ $second -eq 0 ]"
removed=0; "$loader" regsvr32 /s /u qelsserv.dll > /dev/null 2>&1 || removed=$?
check "regsvr32 /u unregisters (exit $removed)" "[ $removed -eq 0 ]"
left=0; "$loader" reg query "$key" > /dev/null 2>&1 && left=1
check "no class key is left" "[ $left -eq 0 ]"
again=0; "$loader" regsvr32 /s /u qelsserv.dll > /dev/null 2>&1 || again=$?
check "unregistering a key already gone succeeds (exit $again)" "[ $again -eq 0 ]"
stop_wine
exit $failed
