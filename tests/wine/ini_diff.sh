#!/usr/bin/env bash
# Runs the profile-function corpus through Wine's kernel32 (the Windows probe
# in API mode, in a fresh Wine prefix) and requires identical results and
# written file bytes from: the INI engine on Linux, the INI engine built for
# Windows, and the Win32 adapter's profile port.
set -euo pipefail
linux_probe=$1 windows_probe=$2 corpus=$3 work=$4
source "$(dirname "$0")/common.sh"
if [ ! -f "$windows_probe" ]; then echo "$windows_probe is missing: run make windows"; exit 1; fi

fresh_prefix "$work/prefix"
run() {  # run NAME COMMAND...: output into $work/NAME.txt, files into $work/NAME/
  local name=$1; shift
  mkdir -p "$work/$name"
  "$@" > "$work/$name.txt" 2> "$work/$name.log"
  tr -d '\r' < "$work/$name.txt" > "$work/$name.tmp" && mv "$work/$name.tmp" "$work/$name.txt"
}
run windows-api timeout 600 "$loader" "$windows_probe" api "$(wine_path "$corpus")" "$(wine_path "$work/windows-api")"
run linux-engine "$linux_probe" engine "$corpus" "$work/linux-engine"
run windows-engine timeout 600 "$loader" "$windows_probe" engine "$(wine_path "$corpus")" "$(wine_path "$work/windows-engine")"
run windows-adapter timeout 600 "$loader" "$windows_probe" adapter "$(wine_path "$corpus")" "$(wine_path "$work/windows-adapter")"
stop_wine

cases=$(grep -c '^case ' "$work/windows-api.txt" || true)
status=0
for other in linux-engine windows-engine windows-adapter; do
  if ! diff -u "$work/windows-api.txt" "$work/$other.txt" > "$work/$other.diff"; then
    echo "$other differs from the Windows profile API (- Wine's kernel32, + $other):"
    head -n 40 "$work/$other.diff"
    status=1
  else
    echo "$other: $cases profile-function cases identical to Wine's kernel32, byte for byte"
  fi
done
[ "$cases" -ge 40 ] || { echo "only $cases cases ran"; status=1; }
exit $status
