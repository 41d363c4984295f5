#!/usr/bin/env bash
# No operation of the platform ports is named like a <windows.h> macro
# (GetCurrentDirectory, MessageBox, RegOpenKeyEx, ...): the Win32 adapter
# must compile because its overrides match the ports, not because the macros
# rename both sides. Every virtual function name in the port headers is
# tested against the headers the adapter includes, with the MinGW compiler.
set -euo pipefail
source=$1
compiler=x86_64-w64-mingw32-g++
command -v "$compiler" > /dev/null || { echo "skipped: $compiler is not installed"; exit 0; }
names=$(cat "$source"/src/platform/*.h | grep -oE 'virtual [^(;]*\b[A-Za-z_][A-Za-z0-9_]*\(' |
        sed -E 's/.*\b([A-Za-z_][A-Za-z0-9_]*)\($/\1/' | sort -u)
[ -n "$names" ] || { echo "FAILED: no port operation found"; exit 1; }
probe=$(mktemp --suffix=.cpp)
trap 'rm -f "$probe"' EXIT
{
  echo '#include <windows.h>'
  echo '#include <mmsystem.h>'
  echo '#include <objbase.h>'
  echo '#include <ddraw.h>'
  echo '#include <setupapi.h>'
  for n in $names; do printf '#ifdef %s\n#error "%s"\n#endif\n' "$n" "$n"; done
} > "$probe"
macros=$("$compiler" -fsyntax-only "$probe" 2>&1 | grep -oE '#error "[A-Za-z0-9_]+"' | sed -E 's/#error "(.*)"/\1/' | sort -u || true)
count=$(echo "$names" | wc -l)
if [ -n "$macros" ]; then
  echo "FAILED: port operations named like <windows.h> macros:" $macros
  exit 1
fi
echo "ok: none of the $count port operations is a <windows.h> macro"
