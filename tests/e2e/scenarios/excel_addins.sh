# An install through the wizard into a folder with a blank in its name registers the client's
# add-ins in Excel's per-user settings: Excel 2007's open entry that names an older
# VXFunction.xla now names the installed one; Excel 2016's open entry of another workbook stays
# and OPEN1 is added beside it; no options key is made for an Office version that has none;
# Excel 2016's disabled items are gone; the COM add-in modHook.Office_Addin is registered for
# the user under the client's name without "客户端", loaded at start-up; Excel 2010's two
# security switches are off; the add-in's machine-wide registration is gone.
. "$(dirname "$0")/../lib.sh"
e2e_begin
e2e_excel
e2e_make_pinfo "" "" "" "" ""
sed 's/$/\r/' >"$WINEPREFIX/drive_c/office.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Microsoft\Office\12.0\Excel\Options]
"OPEN"="\"C:\\Old\\VXFunction.xla\""

[HKEY_CURRENT_USER\Software\Microsoft\Office\16.0\Excel\Options]
"OPEN"="\"C:\\Other\\Report.xla\""
"Options3"=dword:00000000

[HKEY_CURRENT_USER\Software\Microsoft\Office\16.0\Excel\Resiliency\DisabledItems]
"5A2B7C01"=hex:01,00,00,00,10,00,00,00
"B8E51D2F"=hex:02,00,00,00

[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Office\Excel\Addins\modHook.Office_Addin]
"FriendlyName"="modHook for every user"
"LoadBehavior"=dword:00000003
REG
wine reg import 'C:\office.reg' >/dev/null 2>&1 </dev/null || e2e_fail "cannot prepare Excel's settings"

user='HKCU\Software\Microsoft\Office'
addin='HKCU\SOFTWARE\Microsoft\Office\Excel\Addins\modHook.Office_Addin'
xla='\"C:\Program Files\Hetu Client\VXFunction.xla\"'
e2e_drive <<SCRIPT
# What an earlier Office left.
expect-reg-count $user\16.0\Excel\Resiliency\DisabledItems 2
expect-reg HKLM\Software\Wow6432Node\Microsoft\Office\Excel\Addins\modHook.Office_Addin FriendlyName "modHook for every user"
expect-no-key $addin

launch C:\setup\QuillonSetup.exe
wait-form 30
click btnNext
wait-visible 10 tabAgree 1
click radAgree
click btnNext
wait-visible 10 tabDir 1
set-text edDir "C:\Program Files\Hetu Client"
click btnNext
wait-msgbox 10 "确认" ""
answer yes
wait-visible 60 tabFinished 1
click btnOK
wait-exit 15 0
expect-exists "C:\Program Files\Hetu Client\VXFunction.xla" 1

expect-reg $user\12.0\Excel\Options OPEN "$xla"
expect-reg-count $user\12.0\Excel\Options 1
expect-reg $user\16.0\Excel\Options OPEN "\"C:\Other\Report.xla\""
expect-reg $user\16.0\Excel\Options OPEN1 "$xla"
expect-reg-count $user\16.0\Excel\Options 3
expect-no-key $user\14.0\Excel\Options
expect-no-key $user\15.0\Excel\Options
expect-reg-count $user\16.0\Excel\Resiliency\DisabledItems 0

expect-reg $addin FriendlyName " Quillon "
expect-reg $addin Description " Quillon "
expect-reg-dword $addin LoadBehavior 3
expect-reg-dword $addin CommandLineSafe 0
expect-reg-dword $user\14.0\Excel\Security EnableDEP 0
expect-reg-dword $user\14.0\Excel\Security\FileValidation EnableOnLoad 0
expect-no-key HKLM\Software\Wow6432Node\Microsoft\Office\Excel\Addins\modHook.Office_Addin
SCRIPT
