# Without "PInfo.dat" beside it the installer says a file is missing and ends before any
# wizard window is shown.
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-msgbox 30 "提示" "缺少文件，程序结束运行！"
expect-no-form
shot C:\missing_product_info.bmp
answer ok
wait-exit 15 1
SCRIPT
e2e_keep_shot missing_product_info
