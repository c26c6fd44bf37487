# The demo run without a display: the wizard is shown under Xvfb, photographed and cancelled;
# then the install step puts the demo payload into C:\Tovrin\CLIENT with the real engine.
. "$(dirname "$0")/../lib.sh"
e2e_name=demo
e2e_begin
e2e_make_pinfo "" "" "Quillon" "" ""
e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
shot C:\demo.bmp
click btnCancel
wait-exit 15 0
SCRIPT
e2e_keep_shot demo
echo "demo: the installer started, showed its wizard and ended on Cancel"
cp "$QUILLON_INSTALL_PROBE" "$setup_dir/install_probe.exe"
mkdir -p "$WINEPREFIX/drive_c/Tovrin/CLIENT"
wine 'C:\setup\install_probe.exe' 'C:\Tovrin\CLIENT' </dev/null | tr -d '\r'
(cd "$WINEPREFIX/drive_c/Tovrin/CLIENT" && ls -l) | tee "$e2e_shots/installed.txt"
echo "demo: listing in $e2e_shots/installed.txt"
