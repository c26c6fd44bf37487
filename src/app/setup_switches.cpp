#include "app/setup_switches.h"

#include "base/text.h"

namespace quillon {

namespace {

// Splits "/NAME=value" into the upper-cased name and the value; `has_value` tells "/LOG"
// from "/LOG=".
void SplitSwitch(const std::wstring& arg, std::wstring* name, std::wstring* value,
                 bool* has_value) {
  const size_t eq = arg.find(L'=');
  *has_value = eq != std::wstring::npos;
  *name = UpperAscii(arg.substr(0, eq));
  *value = *has_value ? arg.substr(eq + 1) : std::wstring();
}

bool TakesBaseFolder(const std::wstring& role) {
  return role == L"CLIENT" || role == L"WEB" || role == L"WEB_CLIENT";
}

}  // namespace

SetupSwitches ParseSetupSwitches(const std::vector<std::wstring>& args) {
  SetupSwitches s;
  auto fault = [&s](SetupSwitches::Fault f, const std::wstring& arg) {
    if (s.fault != SetupSwitches::Fault::None) return;
    s.fault = f;
    s.bad_argument = arg;
  };
  for (const std::wstring& arg : args) {
    if (arg.empty() || arg[0] != L'/') {
      s.rest.push_back(arg);
      continue;
    }
    std::wstring name, value;
    bool has_value = false;
    SplitSwitch(arg, &name, &value, &has_value);
    if (!has_value && name == L"/SILENT") {
      s.silent = true;
    } else if (!has_value && name == L"/VERYSILENT") {
      s.very_silent = true;
    } else if (!has_value && name == L"/SUPPRESSMSGBOXES") {
      s.suppress_msgboxes = true;
    } else if (!has_value && (name == L"/?" || name == L"/HELP")) {
      s.help = true;
    } else if (name == L"/LOG") {
      if (has_value && Trim(value).empty()) {
        fault(SetupSwitches::Fault::MissingValue, arg);
        continue;
      }
      s.log = true;
      s.log_file = Trim(value);
    } else if (name == L"/DIR" && has_value) {
      if (Trim(value).empty()) {
        fault(SetupSwitches::Fault::MissingValue, arg);
        continue;
      }
      s.dir = value;
    } else if (name == L"/LANG" && has_value) {
      const std::wstring code = UpperAscii(Trim(value));
      if (code != L"A" && code != L"B" && code != L"C") {
        fault(SetupSwitches::Fault::BadLanguage, arg);
        continue;
      }
      s.lang = code;
    } else if ((name == L"/DIR" || name == L"/LANG") && !has_value) {
      fault(SetupSwitches::Fault::MissingValue, arg);
    } else {
      fault(SetupSwitches::Fault::UnknownSwitch, arg);
    }
  }
  if (s.dir && s.rest.size() > 1 && TakesBaseFolder(s.rest[0])) {
    fault(SetupSwitches::Fault::DirWithBaseFolder, L"/DIR=" + *s.dir);
  }
  return s;
}

}  // namespace quillon
