#!/usr/bin/env bash
# Runs the profile-function corpus through Wine's kernel32 (a Windows build of
# the probe, in a fresh Wine prefix, no display) and through the project's INI
# engine, and requires identical results and identical written file bytes.
set -euo pipefail
linux_probe=$1 windows_probe=$2 corpus=$3 work=$4

loader=$(dpkg -L wine64 2>/dev/null | grep '/wine64$' | head -n1 || true)
[ -n "$loader" ] || loader=/usr/lib/wine/wine64
if [ ! -x "$loader" ]; then echo "wine64 is not installed (make test installs it)"; exit 1; fi
if [ ! -f "$windows_probe" ]; then echo "the Windows probe was not built (x86_64-w64-mingw32-g++ missing?)"; exit 1; fi

rm -rf "$work"
mkdir -p "$work/linux" "$work/windows" "$work/prefix"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY

"$linux_probe" "$corpus" "$work/linux" > "$work/linux.txt"
timeout 600 "$loader" "$windows_probe" "Z:$(echo "$corpus" | tr / '\\')" "Z:$(echo "$work/windows" | tr / '\\')" \
  2> "$work/wine.log" | tr -d '\r' > "$work/windows.txt"
"$loader"server -k 2>/dev/null || true

cases=$(grep -c '^case ' "$work/windows.txt" || true)
if ! diff -u "$work/windows.txt" "$work/linux.txt" > "$work/diff.txt"; then
  echo "The INI engine differs from the Windows profile API (- Wine, + engine):"
  head -n 60 "$work/diff.txt"
  exit 1
fi
echo "$cases profile-function cases: the engine matches Wine's kernel32 byte for byte"
[ "$cases" -ge 40 ]
