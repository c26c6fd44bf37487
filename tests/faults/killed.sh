#!/usr/bin/env bash
# An install killed midway leaves every file whole. A first payload is installed into a
# folder; installs of a second payload, the same entries with other contents, are then killed
# (SIGKILL to the Wine process that runs the install) at 20 points spread over the install:
# after a random delay within each twentieth of its length, and every fourth time while the
# largest file is being written. After each kill every file holds its first or its second
# content byte for byte, never a torn or an empty one. A last install over the same folder
# completes with every file of the second payload and leaves no temporary file, those the
# killed installs left beside their files included.
. "$(dirname "$0")/lib.sh" "$@"
fault_begin

kills=20
big=Bigdata.bin
# The payload of version $1: small, middling and one large file, text and random bytes, a
# menu dataset written still packed; the second version's files are a little longer.
entries() {
  local v=$1
  echo "Renovo.exe:random:$((300000 + v * 1000))"
  echo "Stampfile.INI:line:0"
  echo "Navset1.dat:random:$((120000 + v * 1000))"
  echo "SheetDesk.exe:random:$((1000000 + v * 100000))"
  echo "part1.dat:text:$((40000 + v * 10))"
  echo "part2.dat:random:$((60000 + v * 10))"
  echo "$big:random:$((8 * 1024 * 1024 + v * 2 * 1024 * 1024))"
  echo "VXFunction.xla:random:$((1000000 + v * 1000))"
  echo "part3.dat:text:$((30000 + v * 10))"
  echo "nextgen.xdll:text:$((2000000 + v * 1000))"
  echo "Lastmark.INI:text:$((500 + v))"
}
fault_two_versions dest
big_bytes=$(stat -c %s "$fault_dir/v2/$big")
dest="$fault_dir/dest"
# The second install once whole over a copy of the first, for the length of the install the
# kills spread over.
cp -a "$dest" "$fault_dir/timing"
fault_install v2 'C:\fault\timing' timing || fault_fail "the second install failed: $(cat "$(fault_result timing)" 2>/dev/null)"
took=$(awk '$1 == "ok" {print $2}' "$(fault_result timing)")
rm -rf "$fault_dir/timing"
echo "the second install takes $took ms once started"
# The delays cover most of that: one that comes after the end misses and is made again, and
# the span shrinks to what the installs take here and now (a warm cache makes them faster).
span=$((took * 9 / 10))
[ "$span" -gt 0 ] || span=1

landed=0 inside=0 attempts=0
while [ "$landed" -lt "$kills" ]; do
  attempts=$((attempts + 1))
  [ "$attempts" -le $((2 * kills)) ] || fault_fail "only $landed of $attempts kills came before the install's end"
  fault_start v2 'C:\fault\dest' killed
  start_ns=$(date +%s%N)
  in_big=0
  if [ $(((landed + 1) % 4)) -eq 0 ]; then
    # Inside the largest file: once its temporary file holds 5 to 85 % of the new content.
    in_big=1
    want=$((big_bytes * (5 + RANDOM % 81) / 100))
    while kill -0 "$fault_pid" 2>/dev/null; do
      # (The file may be renamed away between the listing and its size.)
      size=$({ find "$dest" -maxdepth 1 -name "$big.~*.tmp" -printf '%s\n' 2>/dev/null || true; } |
        sort -n | tail -1)
      [ -n "$size" ] && [ "$size" -ge "$want" ] && break
      sleep 0.002
    done
  else
    delay=$(((landed * span + ((RANDOM << 15) | RANDOM) % span) / kills))
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  fi
  kill -9 "$fault_pid" 2>/dev/null || true
  wait "$fault_pid" 2>/dev/null || true
  after_ms=$((($(date +%s%N) - start_ns) / 1000000))
  if [ -e "$(fault_result killed)" ]; then
    echo "kill at $after_ms ms: the install had already ended; again"
    [ "$after_ms" -ge "$span" ] || span=$after_ms
    span=$((span * 4 / 5))
    [ "$span" -gt 0 ] || span=1
    continue
  fi
  landed=$((landed + 1))

  mapfile -t states < <(fault_versions "$dest" "${second[@]}")
  for i in "${!states[@]}"; do
    case "${states[i]}" in
      v1 | v2) ;;
      *) fault_fail "kill $landed at $after_ms ms: ${second[i]%%:*} is ${states[i]} (${states[*]})" ;;
    esac
  done
  temporaries=$(fault_temporaries "$dest" | tr '\n' ' ')
  where=""
  if [ "$in_big" = 1 ]; then
    if [[ " $temporaries" == *" $big.~"* ]]; then
      inside=$((inside + 1))
      where=" inside $big"
    else
      where=" (meant inside $big, came after it)"
    fi
  fi
  v2_count=$(printf '%s\n' "${states[@]}" | grep -c '^v2$' || true)
  echo "kill $landed at $after_ms ms$where: $v2_count of ${#states[@]} files second, the rest first; left: ${temporaries:-nothing}"
done
[ "$inside" -ge 1 ] || fault_fail "no kill came inside $big"

stale=$(fault_temporaries "$dest" | wc -l)
[ "$stale" -ge 1 ] || fault_fail "the kills left no temporary file, so their removal went untried"
fault_install v2 'C:\fault\dest' last || fault_fail "the install after the kills failed: $(cat "$(fault_result last)" 2>/dev/null)"
mapfile -t states < <(fault_versions "$dest" "${second[@]}")
[ "${states[*]}" = "$(printf 'v2 %.0s' "${second[@]}" | sed 's/ $//')" ] ||
  fault_fail "after the last install: ${states[*]}"
left=$(fault_temporaries "$dest" | tr '\n' ' ')
[ -z "$left" ] || fault_fail "the last install left temporary files: $left"
echo "kills survived: $landed ($inside inside $big); the last install removed $stale stale temporary files"
