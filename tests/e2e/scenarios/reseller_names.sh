# A distributor's "PInfo.dat" made by quillon-pack: its names show in the application title,
# the destination hint, the headings and on the symbol line.
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_make_pinfo "智表" "河图数据有限公司" "河图智表" "河图" "智表代理"
e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
expect-title "智表客户端安装程序"
expect-text labMain "欢迎使用 智表客户端 安装向导"
expect-text labDirHint "安装程序将安装 智表客户端 到如下文件夹."
expect-text lab "河图智表"
shot C:\reseller_names.bmp
click btnCancel
wait-exit 15 2
SCRIPT
e2e_keep_shot reseller_names
