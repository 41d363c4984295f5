# Shared by the Wine checks: the wine64 loader and a fresh prefix, no display.
loader=$(dpkg -L wine64 2>/dev/null | grep '/wine64$' | head -n1 || true)
[ -n "$loader" ] || loader=/usr/lib/wine/wine64
if [ ! -x "$loader" ]; then echo "wine64 is not installed (make test installs it)"; exit 1; fi

# Wine keeps its per-user state below HOME.
if [ -z "${HOME:-}" ]; then export HOME; HOME=$(getent passwd "$(id -u)" | cut -d: -f6); fi

# fresh_prefix DIR: a new Wine prefix in DIR, without Mono, Gecko or a display.
fresh_prefix() {
  rm -rf "$1"
  mkdir -p "$1"
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
  unset DISPLAY WAYLAND_DISPLAY
  "$loader" wineboot --init > /dev/null 2>&1 || true
}

# wine_path PATH: the Windows form of a Linux path.
wine_path() { echo "Z:$(echo "$1" | tr / '\\')"; }

stop_wine() { "${loader}server" -k > /dev/null 2>&1 || true; }
