# The first page in the three languages: "CurLang" = "C" starts in English; the language box
# switches captions at once. Screenshots of each language, with real CJK glyphs.
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_make_pinfo "" "" "Quillon" "" ""
wine reg add 'HKCU\Software\Tovrin' /v CurLang /t REG_SZ /d C /f >/dev/null 2>&1 </dev/null
e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
expect-title "Quillon Client Setup"
expect-caption "Setup"
expect-text btnNext "Next>"
expect-text btnCancel "Cancel"
expect-text labMain "Welcome to  Quillon Client  Setup Wizard"
expect-text labFirstHint2 "Click Next to continue,or Cancel to exit Setup"
shot C:\language_c.bmp
choose comboLang 1
expect-caption "程式安裝"
expect-text btnNext "下一步 >"
expect-text labMain "歡迎使用 Quillon用戶端 安裝嚮導"
expect-text labFirstHint2 "請點擊\"下一步\"繼續,或\"取消\"退出安裝"
shot C:\language_b.bmp
choose comboLang 0
expect-caption "程序安装"
expect-text labMain "欢迎使用 Quillon客户端 安装向导"
expect-title "Quillon Client Setup"
shot C:\language_a.bmp
click btnCancel
wait-exit 15 2
SCRIPT
e2e_keep_shot language_c C
e2e_keep_shot language_b B
e2e_keep_shot language_a A
[ "$(e2e_reg_query 'HKCU\Software\Tovrin' CurLang)" = "A" ] || { echo "CurLang not stored as A"; exit 1; }
