#!/usr/bin/env bash
# A full disk stops the install at the file that does not fit. The destination is on a small
# tmpfs mapped to drive E: and holds a first payload; the install of a second payload, the
# same entries with other contents, meets a full disk:
#   inside   space for the first small files, not for the largest one, which runs out midway
#   at-once  no space left at all: the first file's first write fails
#   no-file  space, but no room for one more file, so the temporary file cannot be made
# Each time the install ends with an error that names the file and carries the system's own
# message for a full disk, reports no success, leaves that file and the later ones with their
# old content and the earlier ones with their new, and leaves no temporary file.
# Mounting needs root; where it is refused the test says so and is skipped.
. "$(dirname "$0")/lib.sh" "$@"
[ "$(id -u)" = 0 ] || fault_skip "mounting a small tmpfs needs root"
fault_begin

entries() {
  local v=$1 big=$((200 * 1024))
  [ "$v" = 2 ] && big=$((3 * 1024 * 1024))
  echo "first.dat:random:$((20000 + v * 100))"
  echo "Stampfile.INI:line:0"
  echo "Big.bin:random:$big"
  echo "Navset1.dat:random:$((30000 + v * 100))"
  echo "last.dat:text:$((50000 + v * 100))"
}
fault_two_versions base
disk_full=$(fault_system_text 112)  # ERROR_DISK_FULL

mnt=$(mktemp -d "${TMPDIR:-/tmp}/quillon-full.XXXXXX")
drive="$WINEPREFIX/dosdevices/e:"
fault_undo+=("rmdir '$mnt'" "! mountpoint -q '$mnt' || umount '$mnt' || umount -l '$mnt'")

# fill_inside, fill_at_once, fill_no_file: make the disk full the case's way, the first
# payload already on it.
free_bytes() { echo $(($(stat -f -c '%a * %S' "$mnt"))); }
fill_to() { # leaves about $1 bytes free
  local fill=$(($(free_bytes) - $1))
  [ "$fill" -le 0 ] || head -c "$fill" /dev/zero >"$mnt/filler"
}
fill_inside() { fill_to $((1024 * 1024)); }
fill_at_once() { cat /dev/zero >"$mnt/filler" 2>/dev/null || true; }
fill_no_file() {
  local used=$(($(stat -f -c '%c - %d' "$mnt")))
  mount -o remount,nr_inodes="$used" "$mnt" || fault_fail "tmpfs would not take nr_inodes=$used"
}

cases=(
  # case     failing entry  (its number in the manifest, from 0)
  "inside    2"
  "at-once   0"
  "no-file   0"
)
for row in "${cases[@]}"; do
  read -r name failing <<<"$row"
  if ! err=$(mount -t tmpfs -o size=8m,mode=0777 tmpfs "$mnt" 2>&1); then
    fault_skip "mount of a tmpfs refused: $err"
  fi
  rm -f "$drive"
  ln -s "$mnt" "$drive"
  cp -a "$fault_dir/base" "$mnt/dest"
  "fill_${name//-/_}"

  status=0
  fault_install v2 'E:\dest' "full-$name" || status=$?
  result=$(fault_result "full-$name")
  [ "$status" = 1 ] || fault_fail "$name: exit code $status, not the install's error: $(cat "$result" 2>/dev/null)"
  [ "$(head -1 "$result")" = error ] || fault_fail "$name: reported $(head -1 "$result")"
  file=${second[failing]%%:*}
  grep -qF "E:\\dest\\$file" "$result" || fault_fail "$name: the error does not name $file: $(cat "$result")"
  grep -qF "$disk_full" "$result" || fault_fail "$name: the error lacks the system's \"$disk_full\": $(cat "$result")"

  fault_expect_stopped "$name" "$mnt/dest" "$failing"
  echo "disk full $name: stopped at $file with \"$(sed -n 2,3p "$result" | tr '\n' ' ')\""

  rm -f "$drive"
  umount "$mnt"
done
echo "disk-full cases: ${#cases[@]}"
