#!/usr/bin/env bash
# Every shipped binary of both Windows kits carries the manifest: a
# resource of type 24 (RT_MANIFEST), ID 1 in the programs and ID 2 in the
# libraries, naming asInvoker and Windows 10; the programs are terminal-server
# aware (DllCharacteristics bit 0x8000).
set -euo pipefail
source=$1
shift
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }
for bin in "$@"; do
  case "$bin" in
    */i686/*) objdump=i686-w64-mingw32-objdump ;;
    *) objdump=x86_64-w64-mingw32-objdump ;;
  esac
  if [ ! -f "$bin/orbex.dll" ]; then echo "skipped: no Windows build in $bin"; continue; fi
  for f in orbex.dll verdict.dll qelsserv.dll orbex-harness.exe; do
    dump=$("$objdump" -p "$bin/$f")
    id=2; [ "${f##*.}" = exe ] && id=1
    # The type table's one entry is 0x18; the name table below it holds the ID.
    check "$bin/$f: manifest resource (type 24, ID $id)" \
      "echo \"\$dump\" | grep -A2 'Entry: ID: 0x000018' | grep -q 'Entry: ID: 0x00000$id'"
    if [ "$id" = 1 ]; then
      flags=$(echo "$dump" | awk '/^DllCharacteristics/ {print $2}')
      check "$bin/$f: terminal-server aware ($flags)" "[ \$(( 0x$flags & 0x8000 )) -ne 0 ]"
    fi
  done
done
manifest="$source/src/platform/win32/resources/orbex.manifest"
check "the manifest asks for asInvoker" "grep -q 'level=\"asInvoker\"' '$manifest'"
check "the manifest names Windows 10 and 11" "grep -q '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a' '$manifest'"
exit $failed
