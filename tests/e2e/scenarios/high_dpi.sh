# At 150% (144 DPI) the wizard is laid out at 1.5 times its size, with fonts to match, so
# nothing is blurred or clipped; at 96 DPI it has its designed size.
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_make_pinfo "" "" "Quillon" "" ""
e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
expect-client-size 503 392
click btnCancel
wait-exit 15 2
SCRIPT
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 </dev/null
e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
expect-client-size 755 588
shot C:\high_dpi.bmp
click btnCancel
wait-exit 15 2
SCRIPT
e2e_keep_shot high_dpi
