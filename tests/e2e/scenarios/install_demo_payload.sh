# The demo payload installed through the wizard with the real engine under Wine, into a
# folder typed into the destination box that exists already (so no create question): the 22
# files and the Icon folder, tabvo1.dll in the shared tabvo folder, PInfo.dat copied, and the
# four COM servers registered by regsvr32. The next run offers to reinstall into that folder.
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_excel
e2e_make_pinfo "" "" "" "河图" ""
mkdir -p "$(e2e_unix_path 'C:\Apps\Quillon')"

e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
expect-visible tabFirst 1
expect-visible rabInstall 0
click btnNext
wait-visible 10 tabAgree 1
click radAgree
save-text Memo1 C:\licence_shown.txt
click btnNext
wait-visible 10 tabDir 1
set-text edDir "C:\Apps\Quillon"
click btnNext
wait-visible 60 tabFinished 1
click btnOK
wait-exit 15 0

launch C:\setup\QuillonSetup.exe
wait-form 30
expect-visible rabInstall 1
expect-text edDir "C:\Apps\Quillon"
click btnCancel
wait-exit 15 2
SCRIPT
e2e_expect_installed 'C:\Apps\Quillon' 0 "" 0 "河图"
grep -q $'^UpdateDateTime=20150527213310640\r$' "$(e2e_unix_path 'C:\Apps\Quillon')/Stampfile.INI" ||
  e2e_fail "Stampfile.INI is not the demo payload's"

# Registration commands run on their own; give them a moment, then look for each server.
for progid in Quillon.Demo.ModHook.1 Quillon.Demo.ModCalc.1 Quillon.Demo.VXKalder.1 \
              Quillon.Demo.WebConsole.1; do
  found=""
  for _ in $(seq 1 60); do
    if wine reg query "HKCR\\$progid\\CLSID" </dev/null >/dev/null 2>&1; then found=1; break; fi
    sleep 0.5
  done
  [ -n "$found" ] || e2e_fail "$progid was not registered"
done
echo "the four COM servers are registered"
