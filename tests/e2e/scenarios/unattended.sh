# cases: verysilent silent failures second_copy switches help_A help_B help_C
# Deployment tools start the installer with switches, wait for it to end by itself and read
# its exit code and its log:
#   verysilent   no window at any time, exit 0, and what lands on disk, in the registry and in
#                the shortcuts is what an interactive install into the same folder leaves; the
#                log lists it
#   silent       the wizard shows the Installing page (held there by an error box) and ends by
#                itself: 3 after that error, 0 once the file is free
#   failures     /VERYSILENT without a 32-bit Excel (1), with a held file (3), into a folder
#                that cannot be made (7): each ends by itself, its message in the log
#   second_copy  a copy started while an install runs ends with 6 and changes nothing; the
#                first completes
#   switches     a role with switches keeps its base folder; /DIR= wins over SysSetup.ini and
#                a recorded install; /LANG=C is stored
#   help_X       /? lists the switches in language X, an unknown switch gives the same list
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_make_pinfo "" "" "Quillon" "河图" ""
[ "$e2e_case" = failures ] || e2e_excel

# The log a run wrote (C:\NAME.log, UTF-8) must hold TEXT.
expect_logged() {
  local file
  file=$(e2e_unix_path "$1")
  [ -f "$file" ] || e2e_fail "no log $1"
  grep -qF -- "$2" "$file" || { cat "$file" >&2; e2e_fail "$1 does not say: $2"; }
}

# Files (with their bytes), shortcut names and the product's registry values left by an
# install into C:\Tovrin\CLIENT.
snapshot() {
  local dest=$WINEPREFIX/drive_c/Tovrin/CLIENT
  (cd "$dest" && find . -type f | LC_ALL=C sort | xargs md5sum)
  (cd "$WINEPREFIX/drive_c/users" && find . -name '*.lnk' | LC_ALL=C sort)
  local key
  for key in 'HKCU\Software\Tovrin' 'HKLM\Software\Wow6432Node\Tovrin' 'HKCU\Software\Microsoft\Office'; do
    wine reg query "$key" /s 2>/dev/null </dev/null | tr -d '\r' | LC_ALL=C sort || true
  done
}

# Takes away what an install into C:\Tovrin\CLIENT left, so the next install starts as clean.
unwind() {
  rm -rf "$WINEPREFIX/drive_c/Tovrin" "$WINEPREFIX/drive_c/ProgramData/tabvo"
  find "$WINEPREFIX/drive_c/users" -name '*.lnk' -delete
  local key
  for key in 'HKCU\Software\Tovrin' 'HKLM\Software\Wow6432Node\Tovrin' 'HKCU\Software\Microsoft\Office'; do
    wine reg delete "$key" /f >/dev/null 2>&1 </dev/null || true
  done
}

case "$e2e_case" in
  verysilent)
    e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 60
click btnNext
wait-visible 10 tabAgree 1
click radAgree
click btnNext
wait-visible 10 tabDir 1
click btnNext
wait-msgbox 10 "确认" "不存在"
answer yes
wait-visible 120 tabFinished 1
click btnOK
wait-exit 15 0
SCRIPT
    snapshot >"$WINEPREFIX/interactive.txt"
    unwind
    e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe /VERYSILENT /LOG=C:\q.log
wait-exit-unseen 120 0
SCRIPT
    snapshot >"$WINEPREFIX/verysilent.txt"
    diff "$WINEPREFIX/interactive.txt" "$WINEPREFIX/verysilent.txt" >&2 ||
      e2e_fail "the very silent install left something else than the interactive one"
    grep -q License.txt "$WINEPREFIX/verysilent.txt" || e2e_fail "no License.txt"
    grep -q '\.lnk$' "$WINEPREFIX/verysilent.txt" || e2e_fail "no shortcuts"
    expect_logged 'C:\q.log' 'command line: C:\setup\QuillonSetup.exe /VERYSILENT /LOG=C:\q.log'
    expect_logged 'C:\q.log' 'file written: C:\Tovrin\CLIENT\modHook.dll, '
    expect_logged 'C:\q.log' 'file written: C:\Tovrin\CLIENT\License.txt, '
    expect_logged 'C:\q.log' 'program started: '
    expect_logged 'C:\q.log' 'registry value written: HKEY_CURRENT_USER\SoftWare\Tovrin\ CLIENTPart = "C:\Tovrin\CLIENT"'
    expect_logged 'C:\q.log' 'shortcut saved: '
    expect_logged 'C:\q.log' 'step done: update stamp, '
    expect_logged 'C:\q.log' 'folder made: C:\Tovrin\CLIENT'
    expect_logged 'C:\q.log' 'Finish: the install is recorded'
    expect_logged 'C:\q.log' 'exit code 0'
    echo "very silent install: no window, the interactive install's files, values and shortcuts"
    ;;

  silent)
    dest=$(e2e_unix_path 'C:\Tovrin\CLIENT')
    mkdir -p "$dest"
    echo "an older modHook.dll, in use" >"$dest/modHook.dll"
    e2e_drive <<'SCRIPT'
hold C:\Tovrin\CLIENT\modHook.dll
launch C:\setup\QuillonSetup.exe /SILENT
wait-form 60
wait-msgbox 120 "Quillon客户端安装程序" "有文件正在使用,请重启机器后,再重新安装！"
expect-visible tabInstall 1
expect-text labMain "正在安装"
shot C:\unattended_silent.bmp
answer ok
wait-exit 30 3
release
launch C:\setup\QuillonSetup.exe /SILENT
wait-form 60
wait-exit 120 0
SCRIPT
    e2e_keep_shot unattended_silent
    e2e_expect_payload 'C:\Tovrin\CLIENT' License.txt
    ;;

  failures)
    e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe /VERYSILENT /LOG=C:\noexcel.log
wait-exit-unseen 60 1
expect-exists C:\Tovrin 0
SCRIPT
    expect_logged 'C:\noexcel.log' '请先安装 Excel ！ -> OK, answered by the installer'
    e2e_excel
    dest=$(e2e_unix_path 'C:\Tovrin\CLIENT')
    mkdir -p "$dest"
    echo "an older modHook.dll, in use" >"$dest/modHook.dll"
    e2e_drive <<'SCRIPT'
hold C:\Tovrin\CLIENT\modHook.dll
launch C:\setup\QuillonSetup.exe /LOG=C:\held.log /VERYSILENT
wait-exit-unseen 120 3
release
expect-no-reg HKCU\Software\Tovrin CLIENTPart
launch C:\setup\QuillonSetup.exe /VERYSILENT /DIR=Q:\Quillon /LOG=C:\nofolder.log
wait-exit-unseen 60 7
SCRIPT
    expect_logged 'C:\held.log' '有文件正在使用,请重启机器后,再重新安装！'
    expect_logged 'C:\held.log' 'exit code 3'
    expect_logged 'C:\nofolder.log' '文件夹 Q:\Quillon 不能创建！'
    expect_logged 'C:\nofolder.log' 'exit code 7'
    ;;

  second_copy)
    dest=$(e2e_unix_path 'C:\Tovrin\CLIENT')
    mkdir -p "$dest"
    echo "an older modHook.dll, in use" >"$dest/modHook.dll"
    e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 60
hold C:\Tovrin\CLIENT\modHook.dll
click btnNext
wait-visible 10 tabAgree 1
click radAgree
click btnNext
wait-visible 10 tabDir 1
click btnNext
# The install waits on its error box: a second copy starts meanwhile.
wait-msgbox 120 "Quillon客户端安装程序" "有文件正在使用"
launch-second C:\setup\QuillonSetup.exe /VERYSILENT /DIR=C:\Second /LOG=C:\second.log
wait-exit-second 60 6
expect-exists C:\Second 0
answer ok
release
click btnNext
wait-visible 120 tabFinished 1
click btnOK
wait-exit 15 0
SCRIPT
    expect_logged 'C:\second.log' 'not installed: 已有一个安装程序正在运行'
    expect_logged 'C:\second.log' 'exit code 6'
    ! grep -q 'file written' "$(e2e_unix_path 'C:\second.log')" || e2e_fail "the second copy wrote a file"
    e2e_expect_payload 'C:\Tovrin\CLIENT' License.txt
    ;;

  switches)
    e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe CLIENT C:\Base /VERYSILENT
wait-exit-unseen 120 0
expect-reg HKCU\Software\Tovrin CLIENTPart C:\Base\CLIENT
expect-exists C:\Base\CLIENT\License.txt 1
SCRIPT
    e2e_write_ansi "$setup_dir/SysSetup.ini" <<'INI'
[Setup]
DEFAULT_PATH=C:\Configured
INI
    # A recorded install (C:\Base\CLIENT) and a configured folder: /DIR= wins over both.
    e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe /dir=C:\Chosen /LANG=C /VeRySiLeNt /LOG=C:\dir.log
wait-exit-unseen 120 0
expect-reg HKCU\Software\Tovrin CLIENTPart C:\Chosen
expect-reg HKCU\Software\Tovrin CurLang C
expect-exists C:\Chosen\License.txt 1
expect-exists C:\Configured 0
SCRIPT
    expect_logged 'C:\dir.log' 'destination C:\Chosen: given by /DIR='
    expect_logged 'C:\dir.log' 'configuration line: DEFAULT_PATH=C:\Configured'
    expect_logged 'C:\dir.log' 'language C, ANSI code page'
    e2e_expect_payload 'C:\Chosen' License.txt
    ;;

  help_A | help_B | help_C)
    lang=${e2e_case#help_}
    case "$lang" in
      A) caption="安装程序命令行开关"; line="/VERYSILENT	同上，但不显示任何窗口"; unknown="未知的开关：/FOO" ;;
      B) caption="安裝程式命令列參數"; line="/VERYSILENT	同上，但不顯示任何視窗"; unknown="未知的參數：/FOO" ;;
      C) caption="Setup command-line switches"; line="/VERYSILENT	the same, with no window at all"; unknown="Unknown switch: /FOO" ;;
    esac
    [ "$lang" = A ] ||
      wine reg add 'HKCU\Software\Tovrin' /v CurLang /t REG_SZ /d "$lang" /f >/dev/null 2>&1 </dev/null
    e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe /?
wait-msgbox 30 "$caption" "$line"
expect-msgbox-icon information
shot C:\\unattended_help_$lang.bmp
answer ok
wait-exit 15 4
launch C:\setup\QuillonSetup.exe CLIENT /FOO
wait-msgbox 30 "$caption" "$unknown"
answer ok
wait-exit 15 5
expect-exists C:\Tovrin 0
SCRIPT
    e2e_keep_shot "unattended_help_$lang"
    ;;
esac
