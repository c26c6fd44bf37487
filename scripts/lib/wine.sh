# Shell helpers for running Windows programs under Wine in throwaway prefixes.
# Source this file; it never uses the user's own ~/.wine.

quillon_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
: "${QUILLON_WINE_TEMPLATE:=${XDG_CACHE_HOME:-$HOME/.cache}/quillon/wine-template}"
export QUILLON_WINE_TEMPLATE
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
# Chinese Windows is the product's usual home: ANSI code page 936 unless a caller chooses.
export LANG=${QUILLON_WINE_LANG:-zh_CN.UTF-8}

# Makes a fresh prefix copied from the template, warms it and exports WINEPREFIX.
quillon_prefix_new() {
  "$quillon_root/scripts/wine-template" >&2
  local dir
  dir=$(mktemp -d "${TMPDIR:-/tmp}/quillon-prefix.XXXXXX")
  cp -a "$QUILLON_WINE_TEMPLATE/." "$dir/"
  export WINEPREFIX="$dir"
  # Start the server and the prefix's services with their output away from our pipes:
  # otherwise winedevice.exe inherits the caller's stdout and ctest waits forever.
  wineserver -p >/dev/null 2>&1 </dev/null
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# Ends every Wine process of the current prefix and removes it (unless kept for a look).
quillon_prefix_drop() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  wineserver -k >/dev/null 2>&1 </dev/null || true
  wineserver -w >/dev/null 2>&1 </dev/null || true
  if [ -z "${QUILLON_KEEP_PREFIX:-}" ]; then rm -rf "$WINEPREFIX"; else echo "kept prefix $WINEPREFIX" >&2; fi
  unset WINEPREFIX
}

# Windows path of a Unix path, in the current prefix.
quillon_winpath() { winepath -w "$1" 2>/dev/null; }
