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
# The shipped 32-bit installer runs in prefixes with the 32-bit half of Windows.
quillon_arch_for "$e2e_installer"

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

# Wine links the user's Desktop, Documents and the like to $HOME: shortcuts the installer
# puts on the desktop would land there, beside those of every other run. The prefix gets
# folders of its own.
e2e_own_user_folders() {
  local folder
  for folder in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$folder" ]; then rm "$folder" && mkdir "$folder"; fi
  done
}

# Fresh display and prefix; the installer copied to C:\setup\QuillonSetup.exe.
e2e_begin() {
  unset DISPLAY
  e2e_start_display
  quillon_prefix_new
  trap e2e_end EXIT
  e2e_own_user_folders
  setup_dir="$WINEPREFIX/drive_c/setup"
  mkdir -p "$setup_dir" "$e2e_shots"
  cp "$e2e_installer" "$setup_dir/QuillonSetup.exe"
  cp "$e2e_driver" "$WINEPREFIX/drive_c/e2e_driver.exe"
}

# Makes "PInfo.dat" beside the installer with quillon-pack: product name, maker's full name,
# symbol line caption, maker's short name, agent name. Its texts are in the prefix's ANSI
# code page, as a distributor makes it for the systems it serves.
e2e_make_pinfo() {
  "${QUILLON_PACK:?QUILLON_PACK names the native quillon-pack}" pinfo -o "$setup_dir/PInfo.dat" \
    --product "$1" --maker-full "$2" --caption "$3" --maker-short "$4" --agent "$5" \
    --code-page "$(e2e_code_page)" >/dev/null
}

# An Excel for the installer's Excel check: the test stand-in for Excel's automation server
# (tests/support/excel_standin) registered in the prefix, answering as Excel 2016 of 32 bits
# (e2e_excel 64: of 64 bits).
e2e_excel() {
  local code='{90160000-0011-0000-0000-0000000FF1CE}'
  [ "${1:-32}" != 64 ] || code='{90160000-0011-0000-1000-0000000FF1CE}'
  mkdir -p "$WINEPREFIX/drive_c/excel"
  cp "${QUILLON_EXCEL_STANDIN:?QUILLON_EXCEL_STANDIN names excel_standin.dll}" \
    "$WINEPREFIX/drive_c/excel/excel_standin.dll"
  wine regsvr32 /s 'C:\excel\excel_standin.dll' >/dev/null 2>&1 </dev/null ||
    e2e_fail "the Excel stand-in did not register"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\QuillonTest\\Excel]\r\n"Version"="16.0"\r\n"ProductCode"="%s"\r\n' \
    "$code" >"$WINEPREFIX/drive_c/excel/answers.reg"
  # Seen once on a loaded machine: reg.exe refused the import right after the registration;
  # a second try follows, and a failure says what reg.exe printed.
  local said
  if ! said=$(wine reg import 'C:\excel\answers.reg' 2>&1 </dev/null); then
    sleep 1
    said=$(wine reg import 'C:\excel\answers.reg' 2>&1 </dev/null) ||
      e2e_fail "the Excel stand-in's answers were not stored: $said"
  fi
}

# A COM+ catalogue: the test stand-in for the administration catalogue
# (tests/support/complus_standin) registered in the prefix from C:\complus, where it keeps its
# applications in complus_catalogue.txt ($e2e_complus_store).
e2e_complus() {
  mkdir -p "$WINEPREFIX/drive_c/complus"
  cp "${QUILLON_COMPLUS_STANDIN:?QUILLON_COMPLUS_STANDIN names complus_standin.dll}" \
    "$WINEPREFIX/drive_c/complus/complus_standin.dll"
  wine regsvr32 /s 'C:\complus\complus_standin.dll' >/dev/null 2>&1 </dev/null ||
    e2e_fail "the COM+ catalogue stand-in did not register"
  e2e_complus_store="$WINEPREFIX/drive_c/complus/complus_catalogue.txt"
}

# Runs the driver on a script read from standard input.
e2e_drive() {
  local script="$WINEPREFIX/drive_c/$e2e_name.e2e"
  cat >"$script"
  wine 'C:\e2e_driver.exe' "C:\\$e2e_name.e2e" </dev/null
}

# Turns a screenshot taken by the driver (C:\NAME.bmp) into SCREENSHOT_DIR/NAME.png, and notes
# its language (NAME.lang) for the contact sheets (scripts/contact-sheets): LANGUAGE, or the
# language the installer stored last ("CurLang"; "A" when none is stored).
e2e_keep_shot() {
  local language=${2:-}
  convert "$WINEPREFIX/drive_c/$1.bmp" "$e2e_shots/$1.png"
  [ -n "$language" ] || language=$(e2e_reg_query 'HKCU\Software\Tovrin' CurLang || true)
  case "$language" in A | B | C) ;; *) language=A ;; esac
  echo "$language" >"$e2e_shots/$1.lang"
  echo "screenshot: $e2e_shots/$1.png"
}

# Reads a registry value of the prefix (HKCU or HKLM path) through Wine's reg.exe.
e2e_reg_query() {
  wine reg query "$1" /v "$2" 2>/dev/null </dev/null | tr -d '\r' | awk -v v="$2" '$1 == v {sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print}'
}

# A scenario may run as several cases: a line "# cases: A B C" in it makes one test per word,
# each run with that word in E2E_CASE (tests/e2e/CMakeLists.txt).
e2e_case=${E2E_CASE:-}

# The iconv name of the ANSI code page Wine takes from LANG.
e2e_code_page() {
  case "$LANG" in
    zh_CN*) echo CP936 ;;
    zh_TW*) echo CP950 ;;
    *) echo CP1252 ;;
  esac
}

# Writes standard input (UTF-8 lines) to FILE as a Windows text file: ANSI code page, CR LF.
e2e_write_ansi() {
  sed 's/$/\r/' | iconv -f UTF-8 -t "$(e2e_code_page)" >"$1"
}

# Unix path of a Windows path on drive C: of the prefix.
e2e_unix_path() {
  local p=${1#[Cc]:}
  p=${p//\\//}
  echo "$WINEPREFIX/drive_c${p}"
}

e2e_fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# What the demo payload leaves in the destination DEST (a Windows path): its 22 files and the
# expanded Icon folder (glyphs.ico is gone again), plus the names given after DEST; the second
# tabvo1.dll in the shared tabvo folder; PInfo.dat copied from beside the installer.
e2e_expect_payload() {
  local dest
  dest=$(e2e_unix_path "$1")
  shift
  local want got
  want=$(printf '%s\n' Icon K1.dat K2.dat Lastmark.INI Navset1.dat Navset1B.dat Navset1C.dat \
    Navset2.dat Navset2B.dat Navset2C.dat PInfo.dat Panemark.ICO Renovo.exe SheetDesk.exe \
    Stampfile.INI UnInstallClient_VXKALDER.exe VXFunction.xla VXKALDERAgent.exe \
    VXKALDERWebConsole.ocx VXKalder.dll modCalc.dll modHook.dll nextgen.xdll tabvo1.dll "$@" |
    LC_ALL=C sort | tr '\n' ' ')
  [ -d "$dest" ] || e2e_fail "no destination folder $dest"
  got=$(cd "$dest" && LC_ALL=C ls -1 | LC_ALL=C sort | tr '\n' ' ')
  [ "$got" = "$want" ] || e2e_fail "destination holds: $got; expected: $want"
  [ "$(ls "$dest/Icon" | wc -l)" -ge 20 ] || e2e_fail "icon set not expanded in $dest/Icon"
  [ -f "$WINEPREFIX/drive_c/ProgramData/tabvo/tabvo1.dll" ] || e2e_fail "no shared tabvo1.dll"
  cmp -s "$dest/PInfo.dat" "$setup_dir/PInfo.dat" || e2e_fail "PInfo.dat not copied"
  echo "payload installed in $1"
}

# License.txt in DEST (a Windows path) holds the lines of the licence text the wizard showed
# (saved by the driver, UTF-8, to C:\licence_shown.txt), in the ANSI code page, each line ending
# in CR LF; MAKER, the maker's name from PInfo.dat, is in it.
e2e_expect_licence() {
  local file shown expected
  file="$(e2e_unix_path "$1")/License.txt"
  shown="$WINEPREFIX/drive_c/licence_shown.txt"
  expected="$WINEPREFIX/drive_c/licence_expected.txt"
  [ -f "$file" ] || e2e_fail "no $1\\License.txt"
  grep -qF "$2" "$shown" || e2e_fail "the licence shown does not name $2"
  { cat "$shown"; [ "$(tail -c 2 "$shown" | od -An -tx1 | tr -d ' ')" = 0d0a ] || printf '\r\n'; } |
    iconv -f UTF-8 -t "$(e2e_code_page)" >"$expected"
  if ! cmp -s "$file" "$expected"; then
    echo "License.txt, read as $(e2e_code_page):" >&2
    iconv -f "$(e2e_code_page)" -t UTF-8 "$file" 2>&1 | head -5 >&2 || true
    e2e_fail "License.txt is not the licence text shown, in $(e2e_code_page) with CR LF"
  fi
  ! LC_ALL=C grep -q -v $'\r$' "$file" || e2e_fail "License.txt has a line not ending in CR LF"
  echo "License.txt: the licence shown, in $(e2e_code_page)"
}

# The product key after Finish of an install into DEST: CLIENTPart, OnlyRunInIE,
# LoginMenuCaption and the update stamp of the installed Stampfile.INI under HKCU; ALLSetup
# (ALL_SETUP 1: "1"; 0: absent) in the 32-bit view of HKLM only, where a 32-bit installer's
# values land.
e2e_expect_product_key() {
  local dest=$1 only_run_in_ie=$2 caption=$3 all_setup=$4 stamp machine
  stamp=$(sed -n '1{s/^[^=]*=//;s/\r$//;p}' "$(e2e_unix_path "$dest")/Stampfile.INI")
  [[ "$stamp" =~ ^[0-9]{17}$ ]] || e2e_fail "installed Stampfile.INI holds no stamp: $stamp"
  if [ "$all_setup" = 1 ]; then
    machine='expect-reg HKLM\Software\Wow6432Node\Tovrin ALLSetup 1'
  else
    machine='expect-no-reg HKLM\Software\Wow6432Node\Tovrin ALLSetup'
  fi
  e2e_drive <<SCRIPT
expect-reg HKCU\Software\Tovrin CLIENTPart "$dest"
expect-reg HKCU\Software\Tovrin OnlyRunInIE "$only_run_in_ie"
expect-reg HKCU\Software\Tovrin LoginMenuCaption "$caption"
expect-reg HKCU\Software\Tovrin sLastUpdateTime "$stamp"
$machine
expect-no-reg HKLM\Software\Tovrin ALLSetup
SCRIPT
}

# Everything an install through the wizard into DEST leaves after Finish (see the three
# checks above): e2e_expect_installed DEST ONLY_RUN_IN_IE LOGIN_MENU_CAPTION ALL_SETUP MAKER
e2e_expect_installed() {
  e2e_expect_payload "$1" License.txt
  e2e_expect_licence "$1" "$5"
  e2e_expect_product_key "$1" "$2" "$3" "$4"
}
