# cases: COM CLIENT WEB WEB_CLIENT
# The launch roles of the command line, each in its own prefix and language.
# COM (A): the user drives the wizard; the install goes into the box's folder followed by
#   "\COM+"; afterwards the window hides and Finish is pressed by the program.
# CLIENT (A), WEB (C), WEB_CLIENT (B): the wizard opens on the destination page (CLIENT) or
#   the middle-server page (WEB, WEB_CLIENT) and the command-line timer installs into the
#   base folder followed by "\CLIENT". The base folders have non-English names, so the
#   timer's folder check stops on its advice while the first page is still showing (with
#   the headings of the Welcome page: making a page active at start-up is no page change).
#   CLIENT and WEB then wait on the Finished page; WEB_CLIENT hides and finishes by itself.
#   The CLIENT base folder ends in a backslash: the destination and CLIENTPart keep the
#   doubled backslash before "CLIENT", and Finish still writes the licence file there.
# Only COM and WEB_CLIENT record ALLSetup, in the machine hive's 32-bit view.
case "${E2E_CASE:?}" in
  COM | CLIENT) export QUILLON_WINE_LANG=zh_CN.UTF-8 ;;
  WEB) export QUILLON_WINE_LANG=en_US.UTF-8 ;;
  WEB_CLIENT) export QUILLON_WINE_LANG=zh_TW.UTF-8 ;;
esac
. "$(dirname "$0")/../lib.sh"
shot=launch_roles_$e2e_case

e2e_begin
# WEB and WEB_CLIENT runs skip the Excel check: they get no Excel.
case "$e2e_case" in
  COM | CLIENT) e2e_excel ;;
esac
case "$e2e_case" in
  COM | CLIENT) maker="河图" ;;
  WEB) maker="Hétu" ;;
  WEB_CLIENT) maker="河圖" ;;
esac
e2e_make_pinfo "" "" "Quillon" "$maker" ""
case "$e2e_case" in
  WEB) wine reg add 'HKCU\Software\Tovrin' /v CurLang /t REG_SZ /d C /f >/dev/null 2>&1 </dev/null ;;
  WEB_CLIENT) wine reg add 'HKCU\Software\Tovrin' /v CurLang /t REG_SZ /d B /f >/dev/null 2>&1 </dev/null ;;
esac

case "$e2e_case" in
  COM)
    dest='C:\Tovrin\CLIENT\COM+'
    all_setup=1
    e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe COM
wait-form 30
expect-visible tabFirst 1
click btnNext
wait-visible 10 tabAgree 1
click radAgree
save-text Memo1 C:\licence_shown.txt
click btnNext
wait-visible 10 tabDir 1
expect-text edDir "C:\Tovrin\CLIENT"
click btnNext
wait-msgbox 10 "确认" ""
expect-msgbox-text "文件夹 C:\Tovrin\CLIENT\COM+ 不存在,是否创建?"
expect-text edDir "C:\Tovrin\CLIENT"
shot C:\\${shot}_1_create.bmp
answer yes
wait-hidden 60
wait-exit 15 0
SCRIPT
    e2e_keep_shot "${shot}_1_create"
    [ "$(ls "$(e2e_unix_path 'C:\Tovrin\CLIENT')")" = "COM+" ] ||
      e2e_fail "C:\\Tovrin\\CLIENT holds more than COM+"
    ;;
  CLIENT)
    dest='C:\客户机\\CLIENT'
    all_setup=0
    e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe CLIENT C:\客户机\\
wait-form 30
wait-msgbox 30 "提示" ""
expect-msgbox-text "为了有良好的兼容性，请尽量安装在英文目录下！"
expect-msgbox-icon information
expect-visible tabDir 1
expect-text labDirHint "安装程序将安装 Quillon 到如下文件夹."
expect-text edDir "C:\客户机\\\\CLIENT"
save-text Memo1 C:\licence_shown.txt
shot C:\\${shot}_1_destination.bmp
answer ok
# Next on the destination page checks the folder once more.
wait-msgbox 30 "提示" "为了有良好的兼容性，请尽量安装在英文目录下！"
answer ok
wait-visible 60 tabFinished 1
expect-text Label6 "安装成功"
expect-text labFinishHint " Quillon 已经在你的计算机中安装完毕。"
shot C:\\${shot}_2_finished.bmp
expect-alive 2
expect-visible tabFinished 1
click btnOK
wait-exit 15 0
SCRIPT
    e2e_keep_shot "${shot}_1_destination"
    e2e_keep_shot "${shot}_2_finished"
    ;;
  WEB)
    dest='C:\Données\CLIENT'
    all_setup=0
    e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe WEB C:\Données
wait-form 30
wait-msgbox 30 "Hint" ""
expect-msgbox-text "Please use english directory name!"
expect-visible tabCOM 1
expect-text Label2 "The IP of Middle Server :"
expect-text edDir "C:\Données\CLIENT"
save-text Memo1 C:\licence_shown.txt
shot C:\\${shot}_1_middle_server.bmp
answer ok
wait-visible 60 tabFinished 1
expect-text Label6 "Setup succeed !"
expect-text labFinishHint " Quillon Client  has installed into your computer successfully."
shot C:\\${shot}_2_finished.bmp
expect-alive 2
expect-visible tabFinished 1
click btnOK
wait-exit 15 0
SCRIPT
    e2e_keep_shot "${shot}_1_middle_server"
    e2e_keep_shot "${shot}_2_finished"
    ;;
  WEB_CLIENT)
    dest='C:\測試\CLIENT'
    all_setup=1
    e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe WEB_CLIENT C:\測試
wait-form 30
wait-msgbox 30 "提示" ""
expect-msgbox-text "為了有良好的相容性，請儘量安裝在英文目錄下！"
expect-visible tabCOM 1
expect-text Label2 "中介軟體伺服器 的IP地址:(如果就是本機,請直接點擊\"下一步\")"
expect-text edDir "C:\測試\CLIENT"
save-text Memo1 C:\licence_shown.txt
shot C:\\${shot}_1_middle_server.bmp
answer ok
wait-hidden 60
wait-exit 15 0
SCRIPT
    e2e_keep_shot "${shot}_1_middle_server"
    ;;
esac

e2e_expect_installed "$dest" 0 "" "$all_setup" "$maker"
