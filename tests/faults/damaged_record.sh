#!/usr/bin/env bash
# A damaged record stops the install at its entry. Over a folder holding a first payload, the
# store of a second payload is installed with one record cut short:
#   header    only its first 4 bytes left: the stream ends inside the record's header
#   body      half of the largest record left: part of the body comes out before the end
#   checksum  only the stream's last 4 bytes (its checksum) missing: the whole body comes out
# Each time the install ends with an error that names the record, the file it would have
# replaced and the later ones keep their old content, the earlier ones have their new, and no
# temporary file is left.
. "$(dirname "$0")/lib.sh" "$@"
fault_begin

entries() {
  local v=$1
  echo "first.dat:random:$((20000 + v * 100))"
  echo "Stampfile.INI:line:0"
  echo "middle.dat:text:$((300000 + v * 100))"
  echo "Big.bin:random:$((4 * 1024 * 1024 + v * 100))"
  echo "last.dat:random:$((50000 + v * 100))"
}
fault_two_versions base

cases=(
  # case     entry number (from 0)  bytes of its record kept
  "header    1  4"
  "body      3  half"
  "checksum  2  all-4"
)
for row in "${cases[@]}"; do
  read -r name damaged keep <<<"$row"
  file=${second[damaged]%%:*}
  blob=$(fault_blob "$file")
  rm -rf "$fault_dir/damaged.store" "$fault_dir/dest"
  cp -a "$fault_dir/v2.store" "$fault_dir/damaged.store"
  cp -a "$fault_dir/base" "$fault_dir/dest"
  record="$fault_dir/damaged.store/$blob"
  size=$(stat -c %s "$record")
  case "$keep" in
    half) keep=$((size / 2)) ;;
    all-4) keep=$((size - 4)) ;;
  esac
  truncate -s "$keep" "$record"

  status=0
  fault_install damaged 'C:\fault\dest' "damaged-$name" || status=$?
  result=$(fault_result "damaged-$name")
  [ "$status" = 1 ] || fault_fail "$name: exit code $status, not the install's error: $(cat "$result" 2>/dev/null)"
  [ "$(head -1 "$result")" = error ] || fault_fail "$name: reported $(head -1 "$result")"
  grep -qiF "\"$blob\"" "$result" || fault_fail "$name: the error does not name the record $blob: $(cat "$result")"

  fault_expect_stopped "$name" "$fault_dir/dest" "$damaged"
  echo "damaged record $name ($blob, $keep of $size bytes): \"$(sed -n 2p "$result")\""
done
echo "damaged records: ${#cases[@]}"
