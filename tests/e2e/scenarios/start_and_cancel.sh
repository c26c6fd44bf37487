# The installer starts, shows its wizard (captioned as designed; the application title where
# Windows shows the application), refuses a plain close request, and ends on Cancel.
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_make_pinfo "" "" "" "" ""
e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
expect-caption "程序安装"
expect-title "Quillon客户端安装程序"
expect-text btnCancel "取消"
expect-text btnNext "下一步 >"
expect-text labMain "欢迎使用 Quillon客户端 安装向导"
expect-visible tabFirst 1
expect-visible tabDir 0
shot C:\start_and_cancel.bmp
close
expect-alive 2
expect-visible tabFirst 1
click btnCancel
wait-exit 15 2
SCRIPT
e2e_keep_shot start_and_cancel
