# Shell helpers for running Windows programs under Wine in throwaway prefixes.
# Source this file; it never uses the user's own ~/.wine.

quillon_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
: "${QUILLON_WINE_TEMPLATE:=${XDG_CACHE_HOME:-$HOME/.cache}/quillon/wine-template}"
: "${QUILLON_WINE_TEMPLATE_I686:=${XDG_CACHE_HOME:-$HOME/.cache}/quillon/wine-template-i686}"
export QUILLON_WINE_TEMPLATE QUILLON_WINE_TEMPLATE_I686
# The architecture of the programs under test: x86_64, or i686 for the shipped 32-bit build,
# whose prefixes are copied from the template with the 32-bit half of Windows.
export QUILLON_WINE_ARCH=${QUILLON_WINE_ARCH:-x86_64}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
# With 32-bit Wine installed, Debian's wine, wineboot and winepath start through the 32-bit
# loader, which then hands 64-bit programs to the 64-bit one: a 32-bit start under qemu for
# every program (tens of seconds each with bookworm's qemu 7.2). Our own take the 64-bit
# loader directly; the loader Wine starts for a
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
  local dir template=$QUILLON_WINE_TEMPLATE
  [ "$QUILLON_WINE_ARCH" != i686 ] || template=$QUILLON_WINE_TEMPLATE_I686
  dir=$(mktemp -d "${TMPDIR:-/tmp}/quillon-prefix.XXXXXX")
  cp -a "$template/." "$dir/"
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

# The architecture of a Windows program (PE file): i686 or x86_64.
quillon_pe_arch() {
  local pe machine
  pe=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
  machine=$(od -An -t x2 -j $((${pe:-0} + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
  case "$machine" in
    014c) echo i686 ;;
    8664) echo x86_64 ;;
    *) echo "quillon_pe_arch: $1 is not a Windows program of a known machine" >&2; return 1 ;;
  esac
}

# Whether the i686 programs can run here (scripts/bootstrap-i686 records it); prints the
# reason when they cannot.
quillon_i686_available() {
  local status
  status=$(cat "${QUILLON_I686_STATUS:-${XDG_CACHE_HOME:-$HOME/.cache}/quillon/i686.status}" 2>/dev/null)
  case "$status" in
    available*) return 0 ;;
    "") echo "scripts/bootstrap-i686 has not run on this machine" ;;
    *) echo "${status#unavailable: }" ;;
  esac
  return 1
}

# Sets QUILLON_WINE_ARCH for the Windows program FILE, so that the prefixes made next suit it;
# where it is a 32-bit program this machine cannot run, says why and ends the calling script
# with exit code 77, which ctest counts as skipped (SKIP_RETURN_CODE), never as passed.
quillon_arch_for() {
  local reason
  QUILLON_WINE_ARCH=$(quillon_pe_arch "$1") || exit 1
  if [ "$QUILLON_WINE_ARCH" = i686 ] && ! reason=$(quillon_i686_available); then
    echo "skipped: the i686 programs cannot run here: $reason"
    exit 77
  fi
}

# Windows path of a Unix path, in the current prefix.
quillon_winpath() { winepath -w "$1" 2>/dev/null; }
