# cases: autoset urlfile
# Browser access set-up when the configuration asks for it ("AutoSetIE"): the certificate batch
# file beside the installer runs, then the browser access tool, never shown, puts the web
# console's shortcut on the desktop (autoset). With a "URL.txt" beside the installer the tool
# applies that file first, says so and ends the program (urlfile).
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_excel
e2e_make_pinfo "" "" "Quillon" "" ""
e2e_write_ansi "$setup_dir/SysSetup.ini" <<'INI'
[Setup]
AutoSetIE=1
IPForSetIE=10.0.0.5
PortForSetIE=8080
CreateShortCutForIE=1
ShortCutNameForIE=报表平台
INI
# The batch file leaves a mark where the test can see it ran.
printf '@echo off\r\necho ran> C:\\certificate_ran.txt\r\n' |
  iconv -f UTF-8 -t "$(e2e_code_page)" >"$setup_dir/安装证书.bat"
desktop=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming | head -1)
desktop=${desktop%/AppData/Roaming}/Desktop

# The console address inside a shortcut file, whose strings are UTF-16 (strings -e l lists
# them), and Internet Explorer as its target (in its link information or its strings).
expect_console_shortcut() {
  local file="$desktop/$1.lnk" address=$2 texts
  [ -f "$file" ] || e2e_fail "no desktop shortcut $1.lnk"
  texts=$(strings -e l "$file"; strings "$file")
  grep -qF "$address" <<<"$texts" || e2e_fail "$1.lnk does not start $address: $texts"
  grep -qi 'Internet Explorer.IEXPLORE.EXE' <<<"$texts" ||
    e2e_fail "$1.lnk does not start Internet Explorer"
  echo "desktop shortcut $1.lnk starts Internet Explorer on $address"
}

case "$e2e_case" in
  autoset)
    e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 60
expect-visible tabFirst 1
click btnCancel
wait-exit 15 2
SCRIPT
    expect_console_shortcut "报表平台" "http://10.0.0.5:8080/VXKALDERWeb"
    ;;
  urlfile)
    printf '192.168.1.9\r\nWeb Console\r\n' >"$setup_dir/URL.txt"
    e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-msgbox 60 "Quillon客户端安装程序" "设置完成,请关闭IE然后重新登录！"
shot C:\browser_access_urlfile.bmp
answer ok
wait-exit 30 2
expect-no-form
SCRIPT
    e2e_keep_shot browser_access_urlfile
    expect_console_shortcut "Web Console" "http://192.168.1.9:80/VXKALDERWeb"
    # The installer's own values are applied after the file's.
    expect_console_shortcut "报表平台" "http://10.0.0.5:8080/VXKALDERWeb"
    ;;
esac
[ -f "$WINEPREFIX/drive_c/certificate_ran.txt" ] || e2e_fail "the certificate batch file did not run"
echo "the certificate batch file ran"
