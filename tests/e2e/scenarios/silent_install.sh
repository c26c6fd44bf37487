# cases: plain encoded
# Silent mode from the setup configuration beside the installer, as "SysSetup.ini" (plain) or
# only as its encoded twin "SysSetup2.ini" (encoded): without any input the wizard installs
# into the configured folder followed by "\CLIENT", created without a question, and waits on
# the Finished page; Finish stores the configured login-menu settings. A configuration taken
# from the twin leaves no "SysSetup.ini" behind.
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_excel
e2e_make_pinfo "" "" "Quillon" "河图" ""
e2e_write_ansi "$setup_dir/SysSetup.ini" <<'INI'
[Setup]
DEFAULT_PATH=C:\Silent
SilenceInstall=1
NoLoginMenu=1
LoginMenuCaption=报表登录
INI
if [ "$e2e_case" = encoded ]; then
  "$QUILLON_PACK" encode-config "$setup_dir/SysSetup.ini" -o "$setup_dir/SysSetup2.ini" >/dev/null
  rm "$setup_dir/SysSetup.ini"
  cp "$setup_dir/SysSetup2.ini" "$WINEPREFIX/drive_c/SysSetup2.ini.orig"
  left_behind=0
else
  left_behind=1
fi
shot=silent_install_$e2e_case

e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe
wait-form 60
wait-visible 60 tabFinished 1
expect-text Label6 "安装成功"
expect-visible btnOK 1
expect-visible btnNext 0
save-text Memo1 C:\licence_shown.txt
shot C:\\${shot}.bmp
expect-alive 2
expect-visible tabFinished 1
click btnOK
wait-exit 15 0
expect-reg HKCU\Software\Tovrin AlignToCenter 0
expect-exists C:\setup\SysSetup.ini $left_behind
SCRIPT
e2e_keep_shot "$shot"

if [ "$e2e_case" = encoded ]; then
  cmp -s "$setup_dir/SysSetup2.ini" "$WINEPREFIX/drive_c/SysSetup2.ini.orig" ||
    e2e_fail "SysSetup2.ini was changed"
fi
e2e_expect_installed 'C:\Silent\CLIENT' 1 "报表登录" 0 "河图"
