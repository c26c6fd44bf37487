# Shell helpers for running Windows programs under Wine in throwaway prefixes.
# Source this file; it never uses the user's own ~/.wine.

quillon_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
: "${QUILLON_WINE_TEMPLATE:=${XDG_CACHE_HOME:-$HOME/.cache}/quillon/wine-template}"
export QUILLON_WINE_TEMPLATE
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
# With 32-bit Wine installed, Debian's wine, wineboot and winepath start through the 32-bit
# loader, which then hands 64-bit programs to the 64-bit one: under qemu that costs tens of
# seconds a start. Our own take the 64-bit loader directly; the loader Wine starts for a
# 32-bit child is found from WINELOADER (the same name without "64").
if [ -x /usr/lib/wine/wine64 ]; then
  case ":$PATH:" in *":$quillon_root/scripts/wine64:"*) ;; *) PATH="$quillon_root/scripts/wine64:$PATH" ;; esac
  export PATH WINELOADER=/usr/lib/wine/wine64
fi
# A 32-bit Wine under qemu-i386 needs the whole 32-bit address space reserved, or its loader
# cannot map the shared user data.
export QEMU_RESERVED_VA=0xffff0000
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
