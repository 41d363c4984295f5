# Shared by the Wine checks: the wine64 loader and a fresh prefix, no display.
loader=$(dpkg -L wine64 2>/dev/null | grep '/wine64$' | head -n1 || true)
[ -n "$loader" ] || loader=/usr/lib/wine/wine64
if [ ! -x "$loader" ]; then echo "wine64 is not installed (make test installs it)"; exit 1; fi

# Wine keeps its per-user state below HOME.
if [ -z "${HOME:-}" ]; then export HOME; HOME=$(getent passwd "$(id -u)" | cut -d: -f6); fi

# fresh_prefix DIR: a new Wine prefix in DIR, without Mono, Gecko or a display
# (64-bit unless wine_arch says win32).
fresh_prefix() {
  rm -rf "$1"
  mkdir -p "$1"
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=${wine_arch:-win64}
  unset DISPLAY WAYLAND_DISPLAY
  "$loader" wineboot --init > /dev/null 2>&1 || true
}

# wine_path PATH: the Windows form of a Linux path.
wine_path() { echo "Z:$(echo "$1" | tr / '\\')"; }

stop_wine() { "$(dirname "$loader")/wineserver" -k > /dev/null 2>&1 || true; }

# use_32bit_loader: switch to Wine's 32-bit loader (package wine32:i386) for a
# 32-bit prefix, or exit 77 (skipped) saying why it cannot run here.
use_32bit_loader() {
  local wine32
  wine32=$(dpkg -L wine32 2>/dev/null | grep '/wine/wine$' | head -n1 || true)
  if [ -z "$wine32" ] || [ ! -x "$wine32" ]; then
    echo "skipped: Wine's 32-bit loader is not installed (apt-get install wine32:i386, after dpkg --add-architecture i386)"
    exit 77
  fi
  if ! "$wine32" --version > /dev/null 2>&1; then
    echo "skipped: Wine's 32-bit loader $wine32 is installed but does not run here (this kernel does not run 32-bit programs)"
    exit 77
  fi
  loader=$wine32 wine_arch=win32
}
