# cases: A B C
# An install through the wizard as a person does it, in each language: A from the start, B
# chosen in the language box on the first page, C stored as "CurLang" by an earlier run. Every
# page with its headings and buttons; Next on the licence page only while the agreement is
# accepted; Back; a refused folder text and a create question answered No leave the wizard on
# the destination page with nothing created; Yes creates the folder and installs; Finish
# records the install and writes the licence text in the system's ANSI code page.
case "${E2E_CASE:?}" in
  A) export QUILLON_WINE_LANG=zh_CN.UTF-8 ;;
  B) export QUILLON_WINE_LANG=zh_TW.UTF-8 ;;
  C) export QUILLON_WINE_LANG=en_US.UTF-8 ;;
esac
. "$(dirname "$0")/../lib.sh"

case "$e2e_case" in
  A)
    choose_language=""
    caption="程序安装"
    maker_short="河图" maker_full="河图数据有限公司"
    welcome=("欢迎使用 Quillon客户端 安装向导" "此向导将会在你的计算机中安装 Quillon客户端 ")
    licence=("使用许可协议" "在继续安装之前,请认真阅读下面的重要信息!")
    destination=("选择目标位置" "你准备把 Quillon客户端 安装到哪里?")
    finished=("安装完成" "")
    buttons=("< 上一步" "下一步 >" "取消" "完成")
    label1="请仔细阅读下面使用许可协议,在继续安装之前你必须接受本协议"
    rad_agree="我接受该协议"
    dir_hint="安装程序将安装 Quillon客户端 到如下文件夹."
    hint_caption="提示" confirm_caption="确认"
    refused="目录：C:Tovrin 结构有误，请检查！"
    question="文件夹 C:\Tovrin\CLIENT 不存在,是否创建?"
    label6="安装成功"
    finish_hint=" Quillon客户端 已经在你的计算机中安装完毕。"
    label3='请点击\"完成\"结束安装.'
    ;;
  B)
    choose_language="choose comboLang 1"
    caption="程式安裝"
    maker_short="河圖" maker_full="河圖資料有限公司"
    welcome=("歡迎使用 Quillon用戶端 安裝嚮導" "此嚮導將會在你的電腦中安裝 Quillon用戶端 ")
    licence=("使用授權合約" "在繼續安裝之前,請認真閱讀下面的重要資訊!")
    destination=("選擇目標位置" "你準備把 Quillon用戶端 安裝到哪裡?")
    finished=("安裝完成" "")
    buttons=("< 上一步" "下一步 >" "取消" "完成")
    label1="請仔細閱讀下面使用授權合約,在繼續安裝之前你必須接受本協議"
    rad_agree="我接受該協議"
    dir_hint="安裝程式將安裝 Quillon用戶端 到如下資料夾."
    hint_caption="提示" confirm_caption="確認"
    refused="目錄：C:Tovrin 結構有誤，請檢查！"
    question="資料夾 C:\Tovrin\CLIENT 不存在,是否創建?"
    label6="安裝成功"
    finish_hint=" Quillon用戶端 已經在你的電腦中安裝完畢。"
    label3='請點擊\"完成\"結束安裝.'
    ;;
  C)
    choose_language=""
    caption="Setup"
    maker_short="Hétu" maker_full="Hétu Data Ltd."
    welcome=("Welcome to  Quillon Client  Setup Wizard"
             "This wizard will install  Quillon Client  into your computer.")
    licence=("License Agreement" "Please read the following important information before continuing.")
    destination=("Select Destination Location" "Where should  Quillon Client  be installed?")
    finished=("Install Completed" "")
    buttons=("<Back" "Next>" "Cancel" "finish")
    label1="Please read the following License Agreement and accept it."
    rad_agree="I accept the agreement"
    dir_hint="Setup will install  Quillon Client  into the following folder."
    hint_caption="Hint" confirm_caption="Confirm"
    refused="The Directory is incorrect,please check it!"
    question="The directory C:\Tovrin\CLIENT is not exist,do you want to create?"
    label6="Setup succeed !"
    finish_hint=" Quillon Client  has installed into your computer successfully."
    label3="Please click 'finish' to end this Setup."
    ;;
esac

e2e_begin
e2e_excel
e2e_make_pinfo "" "$maker_full" "Quillon" "$maker_short" ""
if [ "$e2e_case" = C ]; then
  wine reg add 'HKCU\Software\Tovrin' /v CurLang /t REG_SZ /d C /f >/dev/null 2>&1 </dev/null
fi
shot=wizard_$e2e_case

e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe
wait-form 30
$choose_language
expect-caption "$caption"
expect-visible tabFirst 1
expect-text labMain "${welcome[0]}"
expect-text labDetail "${welcome[1]}"
expect-text btnPrior "${buttons[0]}"
expect-text btnNext "${buttons[1]}"
expect-text btnCancel "${buttons[2]}"
expect-visible btnOK 0
expect-enabled btnPrior 0
expect-enabled btnNext 1
shot C:\\${shot}_1_welcome.bmp

click btnNext
wait-visible 10 tabAgree 1
expect-text labMain "${licence[0]}"
expect-text labDetail "${licence[1]}"
expect-text Label1 "$label1"
expect-text radAgree "$rad_agree"
expect-enabled btnPrior 1
expect-enabled btnNext 0
click radNoAgree
expect-enabled btnNext 0
click radAgree
expect-enabled btnNext 1
click radNoAgree
expect-enabled btnNext 0
click radAgree
expect-enabled btnNext 1
save-text Memo1 C:\licence_shown.txt
shot C:\\${shot}_2_licence.bmp

click btnNext
wait-visible 10 tabDir 1
expect-text labMain "${destination[0]}"
expect-text labDetail "${destination[1]}"
expect-text labDirHint "$dir_hint"
expect-text edDir "C:\Tovrin\CLIENT"
shot C:\\${shot}_3_destination.bmp
click btnPrior
wait-visible 10 tabAgree 1
expect-enabled btnNext 1
click btnNext
wait-visible 10 tabDir 1

# Only blanks in the box: Next stays disabled.
set-text edDir "   "
sleep 300
expect-enabled btnNext 0

# The third character is not a backslash.
set-text edDir "C:Tovrin"
click btnNext
wait-msgbox 10 "$hint_caption" ""
expect-msgbox-text "$refused"
expect-msgbox-icon information
shot C:\\${shot}_4_refused.bmp
answer ok
expect-visible tabDir 1
expect-text edDir "C:Tovrin"
expect-enabled btnNext 1

# A trailing backslash is dropped; the missing folder is not created after No.
set-text edDir C:\Tovrin\CLIENT\\
click btnNext
wait-msgbox 10 "$confirm_caption" ""
expect-msgbox-text "$question"
expect-msgbox-icon question
expect-text edDir "C:\Tovrin\CLIENT"
shot C:\\${shot}_5_create.bmp
answer no
expect-visible tabDir 1
expect-exists C:\Tovrin 0

click btnNext
wait-msgbox 10 "$confirm_caption" ""
expect-msgbox-text "$question"
answer yes
wait-visible 60 tabFinished 1
expect-text labMain "${finished[0]}"
expect-text labDetail "${finished[1]}"
expect-text Label6 "$label6"
expect-text labFinishHint "$finish_hint"
expect-text Label3 "$label3"
expect-text btnOK "${buttons[3]}"
expect-visible btnOK 1
expect-visible btnNext 0
expect-visible btnPrior 0
expect-visible btnCancel 0
expect-enabled btnOK 1
shot C:\\${shot}_6_finished.bmp
click btnOK
wait-exit 15 0
SCRIPT
for page in 1_welcome 2_licence 3_destination 4_refused 5_create 6_finished; do
  e2e_keep_shot "${shot}_$page"
done

e2e_expect_installed 'C:\Tovrin\CLIENT' 0 "" 0 "$maker_short"
