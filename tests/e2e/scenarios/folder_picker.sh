# The browse button on the destination page opens the shell's folder picker with the
# language's instruction text, and the wizard takes no input while it is open. Cancelled, it
# leaves the box as it was and gives the wizard back its activation and focus; confirmed on
# its first selection, the desktop, it puts that folder's full path into the box as it is,
# without "\CLIENT".
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_make_pinfo "" "" "Quillon" "" ""
e2e_excel
e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
click btnNext
wait-visible 10 tabAgree 1
click radAgree
click btnNext
wait-visible 10 tabDir 1
expect-text edDir "C:\Tovrin\CLIENT"
click Button1
wait-dialog 10
expect-dialog-text "请选择"
expect-form-enabled 0
shot C:\folder_picker.bmp
answer cancel
wait-active 10
expect-form-enabled 1
expect-focus Button1
expect-text edDir "C:\Tovrin\CLIENT"
choose comboLang 2
expect-text Button1 "Browse..."
click Button1
wait-dialog 10
expect-dialog-text "Please select"
expect-form-enabled 0
answer ok
wait-active 10
expect-form-enabled 1
expect-folder-text edDir desktop
expect-visible tabDir 1
click btnCancel
wait-exit 15 2
SCRIPT
e2e_keep_shot folder_picker
