# cases: passes is64bit missing unstartable unreadable
# The Excel check on Next of the first page, against the test stand-in for Excel's automation
# server (tests/support/excel_standin), which records what is done to it:
#   passes       a 32-bit Excel: the licence page follows; Excel was started, asked for its
#                version and product code, told to quit and released, with the client's
#                login switched off meanwhile; Back and Next check again, starting Excel again
#   is64bit      a 64-bit Excel: its message, then the program ends with nothing installed
#   missing      no Excel: its message, then the program ends; nothing was started, the
#                client's login setting is untouched
#   unstartable  Excel cannot be created: the application's error box, the first page stays
#   unreadable   Excel fails to answer for its product code: its own text in the error box,
#                Excel is still told to quit and released, the first page stays
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_make_pinfo "" "" "" "" ""
standin='HKCU\Software\QuillonTest\Excel'
product='HKCU\Software\Tovrin'
once='create;get Version;get ProductCode;call Quit;release;'

# Sets a control value of the stand-in (see excel_standin.h).
standin_set() {
  wine reg add "$standin" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1 </dev/null ||
    e2e_fail "cannot set $1 for the Excel stand-in"
}

case "$e2e_case" in
  passes)
    e2e_excel
    e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe
wait-form 30
expect-no-reg $standin Log
click btnNext
wait-visible 10 tabAgree 1
expect-reg $standin Log "$once"
expect-reg $standin ShowLoginSeen 0
expect-reg $product ShowLoginWhenOpenExcel 0
click btnPrior
wait-visible 10 tabFirst 1
click btnNext
wait-visible 10 tabAgree 1
expect-reg $standin Log "$once$once"
click btnCancel
wait-exit 15 2
SCRIPT
    ;;
  is64bit)
    e2e_excel 64
    e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe
wait-form 30
click btnNext
wait-msgbox 10 "提示" ""
expect-msgbox-text "当前客户端程序只适合 32位的Excel ！"
expect-msgbox-icon information
expect-visible tabFirst 1
shot C:\excel_check_64bit.bmp
answer ok
wait-exit 15 1
expect-reg $standin Log "$once"
expect-exists C:\Tovrin 0
expect-no-reg $product CLIENTPart
SCRIPT
    e2e_keep_shot excel_check_64bit
    ;;
  missing)
    e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe
wait-form 30
click btnNext
wait-msgbox 10 "提示" ""
expect-msgbox-text "请先安装 Excel ！"
expect-msgbox-icon information
shot C:\excel_check_missing.bmp
answer ok
wait-exit 15 1
expect-no-reg $product ShowLoginWhenOpenExcel
expect-exists C:\Tovrin 0
expect-no-reg $product CLIENTPart
SCRIPT
    e2e_keep_shot excel_check_missing
    ;;
  unstartable)
    e2e_excel
    # E_ACCESSDENIED, as when Excel may not be started by this user.
    standin_set FailCreate 0x80070005
    e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe
wait-form 30
click btnNext
wait-msgbox 10 "Quillon客户端安装程序" ""
expect-msgbox-icon stop
shot C:\excel_check_unstartable.bmp
answer ok
# Read through the window, so this waits until the program serves its window again.
wait-text 10 labMain "欢迎使用 Quillon客户端 安装向导"
expect-visible tabFirst 1
sleep 300
expect-enabled btnNext 1
expect-reg $standin Log "create failed;"
expect-reg $product ShowLoginWhenOpenExcel 0
click btnCancel
wait-exit 15 2
SCRIPT
    e2e_keep_shot excel_check_unstartable
    ;;
  unreadable)
    e2e_excel
    standin_set FailMember ProductCode
    standin_set FailDescription "Excel 无法读取产品代码"
    e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe
wait-form 30
click btnNext
wait-msgbox 10 "Quillon客户端安装程序" "Excel 无法读取产品代码"
expect-msgbox-icon stop
answer ok
wait-text 10 labMain "欢迎使用 Quillon客户端 安装向导"
expect-visible tabFirst 1
expect-reg $standin Log "create;get Version;get ProductCode failed;call Quit;release;"
click btnCancel
wait-exit 15 2
SCRIPT
    ;;
esac
