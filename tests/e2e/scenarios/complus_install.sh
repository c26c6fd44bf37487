# The server components installed through the wizard into the COM+ catalogue (the test
# stand-in in the prefix), from an installer whose payload has two DLLs flagged "2", in
# English under code page 1252 so that the Chinese descriptions must pass without an ANSI
# round trip. The catalogue holds an earlier install's application, another application and
# one whose name differs only in letter case: afterwards "VXKALDERServer" is there once,
# rebuilt with its properties and the components of both DLLs (the four known ones with their
# properties, a foreign one at the catalogue's defaults), the others untouched; the account
# (empty: the administrator page is never shown) is in the 32-bit view of the machine's
# product key. A second run, where the catalogue refuses to install components, stops with
# the catalogue's text in the error box on the Installing page, and leaves the rebuilt
# application without components.
export QUILLON_WINE_LANG=en_US.UTF-8
. "$(dirname "$0")/../lib.sh"
e2e_installer=${QUILLON_COMPLUS_SETUP:?QUILLON_COMPLUS_SETUP names QuillonSetupComPlus.exe}

title="Quillon Client Setup"
maker="Hétu"
e2e_begin
e2e_excel
e2e_complus
e2e_make_pinfo "" "" "Quillon" "$maker" ""
wine reg add 'HKCU\Software\Tovrin' /v CurLang /t REG_SZ /d C /f >/dev/null 2>&1 </dev/null

# The components each flagged DLL holds, listed beside it for the catalogue; the destination
# exists, so the wizard asks no create question.
dest_win='C:\Tovrin\CLIENT'
dest=$(e2e_unix_path "$dest_win")
mkdir -p "$dest"
printf 'DivoZaze.MainSvc\r\nDivoZaze.MainSvc_NoTransaction\r\nQuillon.Demo.Foreign\r\n' \
  >"$dest/DivoZaze.dll.components"
printf 'DivoZazeM.MainSvcM\r\nDivoZazeM.MainSvc_NoTransactionM\r\n' >"$dest/DivoZazeM.dll.components"

old_key='{0D1B2C3A-0000-4000-8000-000000000003}'
sed 's/$/\r/' >"$e2e_complus_store" <<STORE
application {0D1B2C3A-0000-4000-8000-000000000001} Name="Other Application" RunForever=false
  component {0D1B2C3A-0000-4000-8000-000000000002} Name="Other.Component" DLL="C:\Other\other.dll"
application $old_key Name="VXKALDERServer" Identity="Interactive User" Description="an earlier install"
  component {0D1B2C3A-0000-4000-8000-000000000004} Name="DivoZaze.MainSvc" DLL="C:\Old\DivoZaze.dll" Transaction=2
application {0D1B2C3A-0000-4000-8000-000000000005} Name="vxkalderserver"
STORE

others='application {KEY} Name="Other Application" RunForever=false
  component {KEY} Name="Other.Component" DLL="C:\Other\other.dll"
application {KEY} Name="vxkalderserver"'
server='application {KEY} Name="VXKALDERServer" Identity="Interactive User" Description="VXKALDER服务程序" RunForever=true AccessChecksLevel=0 Authentication=1 ImpersonationLevel=1 ApplicationAccessChecksEnabled=false QCAuthenticateMsgs=1'
known='EventTrackingEnabled=false ObjectPoolingEnabled=true MinPoolSize=0 JustInTimeActivation=true'
components="  component {KEY} Name=\"DivoZaze.MainSvc\" DLL=\"$dest_win\\DivoZaze.dll\" Transaction=1 Description=\"VXKALDER服务组件\" $known
  component {KEY} Name=\"DivoZaze.MainSvc_NoTransaction\" DLL=\"$dest_win\\DivoZaze.dll\" Transaction=1 Description=\"VXKALDER服务组件\" $known
  component {KEY} Name=\"Quillon.Demo.Foreign\" DLL=\"$dest_win\\DivoZaze.dll\"
  component {KEY} Name=\"DivoZazeM.MainSvcM\" DLL=\"$dest_win\\DivoZazeM.dll\" Transaction=1 Description=\"VXKALDERM服务组件\" $known
  component {KEY} Name=\"DivoZazeM.MainSvc_NoTransactionM\" DLL=\"$dest_win\\DivoZazeM.dll\" Transaction=1 Description=\"VXKALDERM服务组件\" $known"

# The catalogue's applications and components, keys masked, against what is expected.
expect_catalogue() {
  local got
  got=$(sed 's/{[0-9A-Fa-f-]*}/{KEY}/; s/\r$//' "$e2e_complus_store")
  if [ "$got" != "$1" ]; then
    diff <(echo "$1") <(echo "$got") >&2 || true
    e2e_fail "the COM+ catalogue holds other applications or components than expected ($2)"
  fi
  ! grep -qF "$old_key" "$e2e_complus_store" || e2e_fail "the earlier application is still there"
  echo "COM+ catalogue as expected ($2)"
}

e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe
wait-form 30
click btnNext
wait-visible 10 tabAgree 1
click radAgree
save-text Memo1 C:\licence_shown.txt
click btnNext
wait-visible 10 tabDir 1
expect-text edDir "$dest_win"
click btnNext
wait-visible 60 tabFinished 1
click btnOK
wait-exit 15 0
expect-reg HKLM\Software\Wow6432Node\Tovrin COMUser ""
expect-reg HKLM\Software\Wow6432Node\Tovrin COMUserPW ""
expect-no-reg HKLM\Software\Tovrin COMUser
expect-no-reg HKLM\Software\Tovrin COMUserPW
SCRIPT
e2e_expect_payload "$dest_win" License.txt DivoZaze.dll DivoZaze.dll.components DivoZazeM.dll \
  DivoZazeM.dll.components
e2e_expect_licence "$dest_win" "$maker"
e2e_expect_product_key "$dest_win" 0 "" 0
expect_catalogue "$others
$server
$components" "after the install"

# The second run: the catalogue refuses the first DLL's components.
refusal="COM+ refused DivoZaze.dll: l'accès est refusé — access denied"
wine reg delete 'HKCU\Software\QuillonTest\ComPlus' /f >/dev/null 2>&1 </dev/null || true
wine reg add 'HKCU\Software\QuillonTest\ComPlus' /v Fail /t REG_SZ /d InstallComponent /f \
  >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Software\QuillonTest\ComPlus' /v FailDescription /t REG_SZ /d "$refusal" /f \
  >/dev/null 2>&1 </dev/null
shot=complus_install_refused
e2e_drive <<SCRIPT
launch C:\setup\QuillonSetup.exe
wait-form 30
expect-visible rabInstall 1
click btnNext
wait-visible 10 tabAgree 1
click radAgree
click btnNext
wait-visible 10 tabDir 1
expect-text edDir "$dest_win"
click btnNext
wait-msgbox 60 "$title" ""
expect-msgbox-text "$refusal"
expect-msgbox-icon stop
shot C:\\$shot.bmp
answer ok
expect-visible tabInstall 1
expect-text labCopyFile "$dest_win\DivoZaze.dll"
expect-visible btnNext 1
expect-visible btnCancel 1
expect-visible btnOK 0
click btnCancel
wait-exit 15 3
SCRIPT
e2e_keep_shot "$shot"
expect_catalogue "$others
$server" "after the refusal"
log=$(e2e_reg_query 'HKCU\Software\QuillonTest\ComPlus' Log)
case "$log" in
  *"InstallComponent VXKALDERServer|$dest_win\\DivoZaze.dll|| failed;release;") ;;
  *) e2e_fail "the install went on after the refusal: $log" ;;
esac
echo "the install stopped at the refused operation"
