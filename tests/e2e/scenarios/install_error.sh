# cases: A B C
# A running program holds modHook.dll in the destination: the install stops with the in-use
# message naming the file, in the application's error box, and the wizard stays on the
# Installing page with Back, Next and Cancel; the later install steps have not run. Once the
# file is free, Next on that page runs the install again and reaches the Finished page.
case "${E2E_CASE:?}" in
  A) export QUILLON_WINE_LANG=zh_CN.UTF-8 ;;
  B) export QUILLON_WINE_LANG=zh_TW.UTF-8 ;;
  C) export QUILLON_WINE_LANG=en_US.UTF-8 ;;
esac
. "$(dirname "$0")/../lib.sh"

case "$e2e_case" in
  A)
    title="Quillon客户端安装程序"
    installing=("正在安装" "安装程序正在安装 Quillon客户端 ")
    lab_install="正在复制文件..."
    in_use="有文件正在使用,请重启机器后,再重新安装！"
    label6="安装成功"
    maker="河图"
    ;;
  B)
    title="Quillon用戶端安裝程式"
    installing=("正在安裝" "安裝程式正在安裝 Quillon用戶端 ")
    lab_install="正在複製檔..."
    in_use="有檔正在使用,請重啟機器後,再重新安裝！"
    label6="安裝成功"
    maker="河圖"
    ;;
  C)
    title="Quillon Client Setup"
    installing=("Installing" "Installing... Quillon Client ")
    lab_install="Copying files ..."
    in_use="File is in use,reboot machines,then reinstall!"
    label6="Setup succeed !"
    maker="Hétu"
    ;;
esac

e2e_begin
e2e_excel
e2e_make_pinfo "" "" "Quillon" "$maker" ""
if [ "$e2e_case" != A ]; then
  wine reg add 'HKCU\Software\Tovrin' /v CurLang /t REG_SZ /d "$e2e_case" /f >/dev/null 2>&1 </dev/null
fi
dest=$(e2e_unix_path 'C:\Tovrin\CLIENT')
mkdir -p "$dest"
old="$WINEPREFIX/drive_c/old_modHook.dll"
echo "an older modHook.dll, in use" >"$old"
cp "$old" "$dest/modHook.dll"
shot=install_error_$e2e_case

e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe
wait-form 30
hold C:\Tovrin\CLIENT\modHook.dll
click btnNext
wait-visible 10 tabAgree 1
click radAgree
save-text Memo1 C:\licence_shown.txt
click btnNext
wait-visible 10 tabDir 1
# The folder exists: no create question.
click btnNext
wait-msgbox 60 "$title" "$in_use"
wait-msgbox 1 "$title" "modHook.dll"
expect-msgbox-icon stop
shot C:\\${shot}_1_message.bmp
answer ok
expect-visible tabInstall 1
expect-text labMain "${installing[0]}"
expect-text labDetail "${installing[1]}"
expect-text labInstall "$lab_install"
expect-text labCopyFile "C:\Tovrin\CLIENT\modHook.dll"
expect-visible btnPrior 1
expect-visible btnNext 1
expect-visible btnCancel 1
expect-visible btnOK 0
sleep 300
expect-enabled btnNext 1
expect-no-reg HKCU\Software\Tovrin sLastUpdateTime
shot C:\\${shot}_2_installing.bmp

release
click btnNext
wait-visible 60 tabFinished 1
expect-text Label6 "$label6"
click btnOK
wait-exit 15 0
SCRIPT
e2e_keep_shot "${shot}_1_message"
e2e_keep_shot "${shot}_2_installing"

! cmp -s "$old" "$dest/modHook.dll" || e2e_fail "modHook.dll was not replaced by the second install"
e2e_expect_installed 'C:\Tovrin\CLIENT' 0 "" 0 "$maker"
