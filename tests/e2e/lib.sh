# Shared steps of the end-to-end scenarios. A scenario is called as
#   bash scenario.sh QuillonSetup.exe e2e_driver.exe SCREENSHOT_DIR
# It sources this file, calls e2e_begin, places files beside the installer in $setup_dir,
# writes a driver script and runs it with e2e_drive, and may look at the prefix afterwards.
set -euo pipefail
e2e_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$e2e_here/../../scripts/lib/wine.sh"

e2e_installer=$1
e2e_driver=$2
e2e_shots=$3
e2e_name=$(basename "$0" .sh)

# A private X display, so scenarios can run side by side and screenshots show only our windows.
e2e_start_display() {
  local n
  for n in $(seq 150 250); do
    if [ ! -e "/tmp/.X$n-lock" ] && mkdir "/tmp/quillon-x$n.lock" 2>/dev/null; then break; fi
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  e2e_xvfb=$!
  e2e_xlock="/tmp/quillon-x$n.lock"
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

e2e_end() {
  quillon_prefix_drop
  [ -n "${e2e_xvfb:-}" ] && kill "$e2e_xvfb" 2>/dev/null && wait "$e2e_xvfb" 2>/dev/null || true
  [ -n "${e2e_xlock:-}" ] && rmdir "$e2e_xlock" 2>/dev/null || true
}

# Fresh display and prefix; the installer copied to C:\setup\QuillonSetup.exe.
e2e_begin() {
  unset DISPLAY
  e2e_start_display
  quillon_prefix_new
  trap e2e_end EXIT
  setup_dir="$WINEPREFIX/drive_c/setup"
  mkdir -p "$setup_dir" "$e2e_shots"
  cp "$e2e_installer" "$setup_dir/QuillonSetup.exe"
  cp "$e2e_driver" "$WINEPREFIX/drive_c/e2e_driver.exe"
}

# Makes "PInfo.dat" beside the installer with quillon-pack: product name, maker's full name,
# symbol line caption, maker's short name, agent name.
e2e_make_pinfo() {
  "${QUILLON_PACK:?QUILLON_PACK names the native quillon-pack}" pinfo -o "$setup_dir/PInfo.dat" \
    --product "$1" --maker-full "$2" --caption "$3" --maker-short "$4" --agent "$5"
}

# Runs the driver on a script read from standard input.
e2e_drive() {
  local script="$WINEPREFIX/drive_c/$e2e_name.e2e"
  cat >"$script"
  wine 'C:\e2e_driver.exe' "C:\\$e2e_name.e2e" </dev/null
}

# Turns a screenshot taken by the driver (C:\NAME.bmp) into SCREENSHOT_DIR/NAME.png.
e2e_keep_shot() {
  convert "$WINEPREFIX/drive_c/$1.bmp" "$e2e_shots/$1.png"
  echo "screenshot: $e2e_shots/$1.png"
}

# Reads a registry value of the prefix (HKCU or HKLM path) through Wine's reg.exe.
e2e_reg_query() {
  wine reg query "$1" /v "$2" 2>/dev/null </dev/null | tr -d '\r' | awk -v v="$2" '$1 == v {sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print}'
}
