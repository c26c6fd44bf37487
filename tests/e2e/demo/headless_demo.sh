# The demo run without a display: the wizard is shown under Xvfb, photographed, and cancelled.
. "$(dirname "$0")/../lib.sh"
e2e_name=demo
e2e_begin
e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
shot C:\demo.bmp
click btnCancel
wait-exit 15 0
SCRIPT
e2e_keep_shot demo
echo "demo: the installer started, showed its wizard and ended on Cancel"
