# cases: C D
# The distributor's plan against the real thing: `quillon-pack plan` on the installer, with the
# same SysSetup.ini (silent) and reseller PInfo.dat beside it, in language C, lists the files,
# the shortcut files and the product key's values that the silent install under Wine leaves.
# The destination is on drive C: or on a second fixed drive D: (a folder of the prefix mapped
# to D:), which the plan assumes because the run names it.
. "$(dirname "$0")/../lib.sh"
drive=${e2e_case:?}
e2e_begin
e2e_excel
if [ "$drive" = D ]; then
  mkdir -p "$WINEPREFIX/drive_d"
  ln -s ../drive_d "$WINEPREFIX/dosdevices/d:"
fi
e2e_make_pinfo "智表" "" "Quillon" "" "小助手"
e2e_write_ansi "$setup_dir/SysSetup.ini" <<INI
[Setup]
DEFAULT_PATH=$drive:\Plan
SilenceInstall=1
LoginIP=10.0.0.5
INI
wine reg add 'HKCU\Software\Tovrin' /v CurLang /t REG_SZ /d C /f >/dev/null 2>&1 </dev/null

plan="$WINEPREFIX/plan.txt"
"$QUILLON_PACK" plan "$setup_dir/QuillonSetup.exe" --lang C --code-page "$(e2e_code_page)" >"$plan" ||
  e2e_fail "quillon-pack plan failed"
grep -q "^destination: $drive:\\\\Plan\\\\CLIENT\$" "$plan" || e2e_fail "plan: $(head -3 "$plan")"
drives=C:
[ "$drive" = C ] || drives="C:, $drive:"
grep -q "^drives: $drives (assumed" "$plan" || e2e_fail "plan: $(grep '^drives' "$plan")"
grep -q '(exit code 0)' "$plan" || e2e_fail "the plan does not finish: $(grep "^result" "$plan")"

e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 60
wait-visible 60 tabFinished 1
click btnOK
wait-exit 15 0
SCRIPT

# The lines of one section of the plan's text ("files (N):" up to the next blank line).
section() { sed -n "/^$1 ([0-9]*):\$/,/^\$/p" "$plan" | sed '1d;/^$/d'; }

# Files: every path with its size, below the destination, the desktop and the start menu.
user_dir=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming | head -1)
user_dir=${user_dir%/AppData/Roaming}
planned_files=$(section files | sed -E 's/^  //; s/  ([0-9]+) bytes$/ \1/' |
  sed -E 's#^C:\\Users\\User\\#USER\\#' | tr '\\' '/' | grep -E "^($drive:/Plan/|USER/)" |
  LC_ALL=C sort)
installed_files=$(
  cd "$WINEPREFIX/drive_${drive,,}" && find Plan -type f -printf "$drive:/%p %s\n"
  cd "$user_dir" && find Desktop AppData/Roaming/Microsoft/Windows/'Start Menu'/Programs -name '*.lnk' -printf 'USER/%p %s\n'
)
# Shortcut files are the shell's own binary format: their sizes differ from the in-memory
# writer's, so only their names are compared.
strip_link_sizes() { sed -E 's/(\.lnk) [0-9]+$/\1/'; }
installed_files=$(strip_link_sizes <<<"$installed_files" | LC_ALL=C sort)
planned_files=$(strip_link_sizes <<<"$planned_files" | LC_ALL=C sort)
if [ "$planned_files" != "$installed_files" ]; then
  diff <(echo "$planned_files") <(echo "$installed_files") >&2 || true
  e2e_fail "the plan's files (<) differ from the installed ones (>)"
fi
echo "files: the plan lists the $(wc -l <<<"$installed_files") files the install left"

# The product key's values under HKEY_CURRENT_USER.
planned_values=$(section 'registry values' | sed -n 's/^  HKEY_CURRENT_USER\\SoftWare\\Tovrin  //p' |
  LC_ALL=C sort)
# reg.exe writes to a pipe in the ANSI code page.
installed_values=$(wine reg query 'HKCU\Software\Tovrin' 2>/dev/null </dev/null |
  iconv -f "$(e2e_code_page)" -t UTF-8 | tr -d '\r' |
  sed -nE 's/^    ([^ ]+)    REG_[A-Z_]+    ?(.*)$/\1 = \2/p' | LC_ALL=C sort)
if [ "$planned_values" != "$installed_values" ]; then
  diff <(echo "$planned_values") <(echo "$installed_values") >&2 || true
  e2e_fail "the plan's product key values (<) differ from the installed ones (>)"
fi
echo "registry: the plan lists the $(wc -l <<<"$installed_values") product key values the install left"
grep -q 'ExcelAgentCaption = 小助手' <<<"$installed_values" || e2e_fail "the reseller's agent name is missing"
