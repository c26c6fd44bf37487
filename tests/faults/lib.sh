# Shared steps of the fault scripts. A script is called as
#   bash SCRIPT.sh fault_install.exe quillon-pack
# It sources this file, calls fault_begin (a fresh Wine prefix with fault_install in it,
# removed at the end), makes payloads and stores with fault_payload and fault_store, runs
# the install with fault_install or fault_start, and looks at the destination afterwards.
# Everything lives in $fault_dir (C:\fault in the prefix).
set -euo pipefail
fault_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$fault_here/../../scripts/lib/wine.sh"

fault_program=$1
fault_pack=$2
fault_name=$(basename "$0" .sh)
quillon_arch_for "$fault_program"

fault_fail() {
  echo "FAIL ($fault_name): $*" >&2
  exit 1
}

# A fault that cannot be made here (no root, mount refused): said so, and ctest counts the
# test as skipped (SKIP_RETURN_CODE), never as passed.
fault_skip() {
  echo "SKIPPED ($fault_name): $*"
  exit 77
}

# Steps to undo at the end, last first (an unmount, a drive letter), once the prefix's Wine
# processes are gone and hold nothing open.
fault_undo=()
fault_end() {
  local i
  quillon_prefix_drop
  for ((i = ${#fault_undo[@]} - 1; i >= 0; i--)); do eval "${fault_undo[i]}" || true; done
}

fault_begin() {
  quillon_prefix_new
  trap fault_end EXIT
  fault_dir="$WINEPREFIX/drive_c/fault"
  mkdir -p "$fault_dir"
  cp "$fault_program" "$WINEPREFIX/drive_c/fault_install.exe"
}

# fault_payload NAME VERSION ENTRY...: the folder $fault_dir/NAME with one file per entry
# "file:kind:bytes" (kind random, text or line) and the manifest NAME.ini listing them in that
# order, flag 0. Each version's files differ from every other version's.
fault_payloads=()
fault_payload() {
  local name=$1 version=$2 entry file kind bytes
  shift 2
  fault_payloads+=("$name")
  mkdir -p "$fault_dir/$name"
  : >"$fault_dir/$name.ini"
  for entry in "$@"; do
    IFS=: read -r file kind bytes <<<"$entry"
    case "$kind" in
      random) head -c "$bytes" /dev/urandom >"$fault_dir/$name/$file" ;;
      text) yes "version $version;$file;row of the monthly summary;qty=$bytes;status=open" |
        head -c "$bytes" >"$fault_dir/$name/$file" || true ;;
      line) printf 'UpdateDateTime=2015052721331064%s\r\n' "$version" >"$fault_dir/$name/$file" ;;
    esac
    printf '%s=0\r\n' "$file" >>"$fault_dir/$name.ini"
  done
}

# fault_store NAME: the payload store of payload NAME in $fault_dir/NAME.store.
fault_store() {
  "$fault_pack" store "$fault_dir/$1" "$fault_dir/$1.ini" -o "$fault_dir/$1.store" >/dev/null
}

# fault_two_versions FOLDER: the payloads v1 and v2 of the entries the script's function
# `entries VERSION` lists ("file:kind:bytes" lines, kept in the arrays first and second),
# their stores, and v1 installed into C:\fault\FOLDER, as the install that a second one
# replaces.
fault_two_versions() {
  mapfile -t first < <(entries 1)
  mapfile -t second < <(entries 2)
  fault_payload v1 1 "${first[@]}"
  fault_payload v2 2 "${second[@]}"
  fault_store v1
  fault_store v2
  fault_install v1 "C:\\fault\\$1" "$1" ||
    fault_fail "the first install failed: $(cat "$(fault_result "$1")" 2>/dev/null)"
}

# fault_expect_stopped CASE FOLDER N: after an install of the second payload that stopped at
# its entry N (from 0), the files before it hold their second content and the rest their
# first, and the Unix folder FOLDER holds no temporary file.
fault_expect_stopped() {
  local name=$1 folder=$2 stopped=$3 i left
  local -a states expected=()
  mapfile -t states < <(fault_versions "$folder" "${second[@]}")
  for i in "${!second[@]}"; do
    if [ "$i" -lt "$stopped" ]; then expected+=(v2); else expected+=(v1); fi
  done
  [ "${states[*]}" = "${expected[*]}" ] || fault_fail "$name: files ${states[*]}, expected ${expected[*]}"
  left=$(fault_temporaries "$folder" | tr '\n' ' ')
  [ -z "$left" ] || fault_fail "$name: temporary files left: $left"
}

# The blob (record file) name of an entry: upper-cased, without its dots.
fault_blob() { echo "$1" | tr -d . | tr '[:lower:]' '[:upper:]'; }

# fault_install STORE DEST RUN: installs the store of payload STORE into the Windows folder
# DEST; the run's result (see fault_install.cpp) is in the file "$(fault_result RUN)". Returns
# fault_install's exit code.
fault_install() {
  rm -f "$(fault_result "$3")" "$(fault_result "$3").started"
  wine 'C:\fault_install.exe' "C:\\fault\\$1.store" "$2" "C:\\fault\\$3.result" \
    </dev/null >/dev/null 2>&1
}

# fault_start STORE DEST RUN: the same install in the background, its process (the Wine
# process running the program) in $fault_pid, once the install itself has begun.
fault_start() {
  local started
  started="$(fault_result "$3").started"
  rm -f "$(fault_result "$3")" "$started"
  wine 'C:\fault_install.exe' "C:\\fault\\$1.store" "$2" "C:\\fault\\$3.result" \
    </dev/null >/dev/null 2>&1 &
  fault_pid=$!
  while [ ! -e "$started" ] && kill -0 "$fault_pid" 2>/dev/null; do sleep 0.005; done
}

fault_result() { echo "$fault_dir/$1.result"; }

# The system's own text for a Win32 error code, as the program's messages carry it.
fault_system_text() {
  wine 'C:\fault_install.exe' --system-text "$1" 'C:\fault\system_text.result' \
    </dev/null >/dev/null 2>&1 || fault_fail "no system text for error $1"
  cat "$(fault_result system_text)"
}

# Temporary files of the file system adapter in a folder: "<file>.~<process>-<n>.tmp".
fault_temporaries() {
  find "$1" -maxdepth 1 -type f -regex '.*\.~[0-9]+-[0-9]+\.tmp' -printf '%f\n' | sort
}

# fault_versions DEST ENTRY... : for each entry's file in the Unix folder DEST, the name of
# the payload whose file it holds byte for byte, "torn" when it matches none, "missing" when
# it is absent. One word per entry.
fault_versions() {
  local dest=$1 entry file payload found
  shift
  for entry in "$@"; do
    file=${entry%%:*}
    found=missing
    if [ -f "$dest/$file" ]; then
      found=torn
      for payload in "${fault_payloads[@]}"; do
        if cmp -s "$dest/$file" "$fault_dir/$payload/$file"; then
          found=$payload
          break
        fi
      done
    fi
    echo "$found"
  done
}
