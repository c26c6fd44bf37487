# cases: walk finish
# The wizard from the keyboard, as in a Windows dialog box. walk: Enter presses Next (the
# button with the default look) and does nothing while Next is disabled; each new page hands
# the focus to its first control; Tab and Shift+Tab go through the page's controls and then the
# language box and the buttons in reading order, the licence page's radio pair being one stop
# whose arrow keys select; a focused button takes the default look and Enter presses it; Esc
# cancels and the program ends. finish: an install with the keyboard alone, the create question
# answered with Enter; on the Finished page Finish has the focus and the default look, Esc does
# nothing there (Cancel is hidden) and Enter finishes.
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_make_pinfo "" "" "Quillon" "" ""
e2e_excel

case "$e2e_case" in
  walk)
    e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
# The Welcome page has no control to use: its default button has the focus.
expect-focus btnNext
expect-default btnNext
key enter
wait-visible 10 tabAgree 1
expect-focus Memo1
key tab
expect-focus radNoAgree
expect-enabled btnNext 0
key enter
expect-visible tabAgree 1
key up
expect-focus radAgree
expect-enabled btnNext 1
key tab
expect-focus comboLang
key tab
expect-focus btnPrior
expect-default btnPrior
key shift-tab
expect-focus comboLang
expect-default btnNext
key enter
wait-visible 10 tabDir 1
expect-focus edDir
key tab
expect-focus Button1
expect-default Button1
key tab
expect-focus comboLang
key tab
expect-focus btnPrior
key tab
expect-focus btnNext
key tab
expect-focus btnCancel
key tab
expect-focus edDir
expect-default btnNext
key shift-tab
expect-focus btnCancel
key shift-tab
expect-focus btnNext
key shift-tab
expect-focus btnPrior
shot C:\keyboard.bmp
key enter
wait-visible 10 tabAgree 1
expect-focus Memo1
key escape
wait-exit 15 2
SCRIPT
    e2e_keep_shot keyboard
    ;;
  finish)
    e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
key enter
wait-visible 10 tabAgree 1
key tab
key up
key enter
wait-visible 10 tabDir 1
key enter
wait-msgbox 10 "确认" "C:\Tovrin\CLIENT"
key enter
wait-visible 60 tabFinished 1
expect-visible btnCancel 0
expect-focus btnOK
expect-default btnOK
key escape
expect-alive 1
key enter
wait-exit 15 0
expect-reg HKCU\Software\Tovrin CLIENTPart "C:\Tovrin\CLIENT"
SCRIPT
    ;;
esac
