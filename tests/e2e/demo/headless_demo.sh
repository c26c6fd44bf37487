# The demo run without a display: under Xvfb the automation program goes through the wizard
# as a person would (Welcome, licence accepted, destination C:\Tovrin\CLIENT created on Yes,
# the install, Finished, Finish), photographing every page and the question; then the files,
# shortcuts and product key values the install left are listed.
. "$(dirname "$0")/../lib.sh"
e2e_name=demo
e2e_begin
e2e_excel
e2e_make_pinfo "" "" "Quillon" "" ""
e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
shot C:\demo_1_welcome.bmp
click btnNext
wait-visible 10 tabAgree 1
click radAgree
shot C:\demo_2_licence.bmp
click btnNext
wait-visible 10 tabDir 1
shot C:\demo_3_destination.bmp
click btnNext
wait-msgbox 10 "确认" "C:\Tovrin\CLIENT"
shot C:\demo_4_create.bmp
answer yes
wait-visible 60 tabFinished 1
shot C:\demo_5_finished.bmp
click btnOK
wait-exit 15 0
SCRIPT
for page in 1_welcome 2_licence 3_destination 4_create 5_finished; do e2e_keep_shot "demo_$page"; done
echo "demo: the wizard installed the demo payload and ended on Finish"

dest=$(e2e_unix_path 'C:\Tovrin\CLIENT')
{
  echo "== C:\\Tovrin\\CLIENT"
  (cd "$dest" && LC_ALL=C ls -l --time-style=+ | sed '1d; s/^/  /')
  echo "  Icon: $(ls "$dest/Icon" | wc -l) files of the icon set"
  echo "== C:\\ProgramData\\tabvo"
  (cd "$WINEPREFIX/drive_c/ProgramData/tabvo" && LC_ALL=C ls -l --time-style=+ | sed '1d; s/^/  /')
  echo "== shortcuts"
  (cd "$WINEPREFIX/drive_c/users" && find . -iname '*.lnk' | LC_ALL=C sort | sed 's|^\./|  |')
  for key in 'HKCU\Software\Tovrin' 'HKLM\Software\Wow6432Node\Tovrin'; do
    echo "== $key"
    wine reg query "$key" </dev/null 2>/dev/null | tr -d '\r' | iconv -f "$(e2e_code_page)" -t UTF-8 -c |
      grep -E '^ +[^ ]' || echo "  (no values)"
  done
} | tee "$e2e_shots/installed.txt"
echo "demo: listing in $e2e_shots/installed.txt"
