# The wizard's install step over the demo payload, with the real engine under Wine: the 22
# files and the Icon folder in a fresh destination, tabvo1.dll in the shared tabvo folder, the
# four COM servers registered by regsvr32, PInfo.dat copied. Then a second install while
# modHook.dll is held open by another program ends with the in-use message naming it.
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_make_pinfo "" "" "" "" ""
cp "$QUILLON_INSTALL_PROBE" "$setup_dir/install_probe.exe"
cp "$QUILLON_HOLD_FILE" "$WINEPREFIX/drive_c/hold_file.exe"
dest="$WINEPREFIX/drive_c/Tovrin/CLIENT"
mkdir -p "$dest"

out=$(wine 'C:\setup\install_probe.exe' 'C:\Tovrin\CLIENT' </dev/null | tr -d '\r')
echo "$out"
[ "$out" = "installed 23 of 23" ] || { echo "install failed"; exit 1; }

expected="Icon K1.dat K2.dat Lastmark.INI Navset1.dat Navset1B.dat Navset1C.dat Navset2.dat
Navset2B.dat Navset2C.dat PInfo.dat Panemark.ICO Renovo.exe SheetDesk.exe Stampfile.INI
UnInstallClient_VXKALDER.exe VXFunction.xla VXKALDERAgent.exe VXKALDERWebConsole.ocx
VXKalder.dll modCalc.dll modHook.dll nextgen.xdll tabvo1.dll"
got=$(cd "$dest" && LC_ALL=C ls -1 | LC_ALL=C sort | tr '\n' ' ')
want=$(tr ' \n' '\n\n' <<<"$expected" | grep -v '^$' | LC_ALL=C sort | tr '\n' ' ')
[ "$got" = "$want" ] || { echo "destination holds: $got"; echo "expected:          $want"; exit 1; }
[ "$(ls "$dest/Icon" | wc -l)" -ge 20 ] || { echo "icon set not expanded"; exit 1; }
[ -f "$WINEPREFIX/drive_c/ProgramData/tabvo/tabvo1.dll" ] || { echo "no shared tabvo1.dll"; exit 1; }
cmp -s "$dest/PInfo.dat" "$setup_dir/PInfo.dat" || { echo "PInfo.dat not copied"; exit 1; }
grep -q $'^UpdateDateTime=20150527213310640\r$' "$dest/Stampfile.INI" || { echo "bad Stampfile.INI"; exit 1; }

# Registration commands run on their own; give them a moment, then look for each server.
for progid in Quillon.Demo.ModHook.1 Quillon.Demo.ModCalc.1 Quillon.Demo.VXKalder.1 \
              Quillon.Demo.WebConsole.1; do
  found=""
  for _ in $(seq 1 60); do
    if wine reg query "HKCR\\$progid\\CLSID" </dev/null >/dev/null 2>&1; then found=1; break; fi
    sleep 0.5
  done
  [ -n "$found" ] || { echo "$progid was not registered"; exit 1; }
done
echo "the four COM servers are registered"

# A running program holds modHook.dll: the next install stops with the in-use message.
rm -f "$WINEPREFIX/drive_c/held.txt"
wine 'C:\hold_file.exe' 'C:\Tovrin\CLIENT\modHook.dll' 'C:\held.txt' 60 </dev/null >/dev/null 2>&1 &
holder=$!
for _ in $(seq 1 100); do [ -f "$WINEPREFIX/drive_c/held.txt" ] && break; sleep 0.1; done
set +e
out=$(wine 'C:\setup\install_probe.exe' 'C:\Tovrin\CLIENT' </dev/null | tr -d '\r')
rc=$?
set -e
kill $holder 2>/dev/null || true
echo "$out"
[ $rc -ne 0 ] || { echo "the install went on over a held file"; exit 1; }
grep -q '^有文件正在使用,请重启机器后,再重新安装！$' <<<"$out" || { echo "no in-use message"; exit 1; }
grep -qi 'modHook.dll' <<<"$out" || { echo "the message does not name modHook.dll"; exit 1; }
echo "held modHook.dll: install stopped with the in-use message"
