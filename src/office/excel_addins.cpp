// The client's add-ins in Excel's per-user settings: the disabled-items lists emptied, the
// workbook add-in among the files opened at start-up, the COM add-in registered.
#include <algorithm>

#include "base/error.h"
#include "base/text.h"
#include "config/unReg_File.h"
#include "office/unPub_Excel.h"

namespace quillon {

namespace {

constexpr int kFirstOfficeVersion = 10;
constexpr int kLastOfficeVersion = 20;
const std::wstring kXlaName = L"VXFunction.xla";
const std::wstring kComAddInKey =
    L"\\SOFTWARE\\Microsoft\\Office\\Excel\\Addins\\modHook.Office_Addin";

std::wstring ExcelKey(int version, const std::wstring& below) {
  return L"\\Software\\Microsoft\\Office\\" + IntToText(version) + L".0\\Excel\\" + below;
}

// The number of an open entry ("OPEN" 0, "OPEN7" 7); nothing for a name whose tail is not a
// whole number (OPENX), which then takes no part in choosing the next number.
std::optional<long> OpenEntryNumber(const std::wstring& upper_name) {
  const std::wstring tail = upper_name.substr(4);
  if (tail.empty()) return 0;
  if (tail.size() > 9) return std::nullopt;
  long n = 0;
  for (wchar_t c : tail) {
    if (c < L'0' || c > L'9') return std::nullopt;
    n = n * 10 + (c - L'0');
  }
  return n;
}

void WriteOrRaise(RegistryKey& key, const std::wstring& name, const std::wstring& text) {
  if (!key.WriteString(name, text)) throw SetDataError(name);
}

void RegisterInOptions(RegistryKey& key, const std::wstring& quoted) {
  std::vector<std::wstring> names = key.ValueNames();
  std::stable_sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return UpperAscii(a) < UpperAscii(b);
  });
  bool any_open = false;
  long highest = -1;
  for (const std::wstring& name : names) {
    const std::wstring upper = UpperAscii(name);
    if (upper.rfind(L"OPEN", 0) != 0) continue;
    any_open = true;
    if (key.ValueKind(name) != RegValueKind::String) {
      throw DataTypeError(name);
    }
    if (key.ReadString(name).find(kXlaName) != std::wstring::npos) {
      WriteOrRaise(key, upper, quoted);
      return;
    }
    if (const std::optional<long> n = OpenEntryNumber(upper)) highest = std::max(highest, *n);
  }
  if (!any_open || highest < 0) {
    WriteOrRaise(key, L"OPEN", quoted);
  } else {
    WriteOrRaise(key, L"OPEN" + IntToText(static_cast<int>(highest + 1)), quoted);
  }
}

}  // namespace

void ClearExcelDisabledItems(Registry& registry) {
  for (int v = kFirstOfficeVersion; v <= kLastOfficeVersion; ++v) {
    auto key =
        registry.OpenExisting(RootKey::CurrentUser, ExcelKey(v, L"Resiliency\\DisabledItems"));
    if (!key) continue;
    for (const std::wstring& name : key->ValueNames()) {
      if (!key->DeleteValue(name)) throw DeleteValueError(name);
    }
  }
}

void RegisterExcelXlaAddIn(Registry& registry, const std::wstring& dest) {
  const std::wstring quoted = L"\"" + dest + L"\\" + kXlaName + L"\"";
  for (int v = kFirstOfficeVersion; v <= kLastOfficeVersion; ++v) {
    auto key = registry.OpenExisting(RootKey::CurrentUser, ExcelKey(v, L"Options"));
    if (key) RegisterInOptions(*key, quoted);
  }
}

void RegisterExcelComAddIn(Registry& registry, const std::wstring& display_name) {
  if (!display_name.empty()) {
    WriteRegString(registry, RootKey::CurrentUser, kComAddInKey, L"FriendlyName", display_name);
    WriteRegString(registry, RootKey::CurrentUser, kComAddInKey, L"Description", display_name);
  }
  WriteRegInteger(registry, RootKey::CurrentUser, kComAddInKey, L"LoadBehavior", 3);
  WriteRegInteger(registry, RootKey::CurrentUser, kComAddInKey, L"CommandLineSafe", 0);
  WriteRegInteger(registry, RootKey::CurrentUser,
                  L"\\Software\\Microsoft\\Office\\14.0\\Excel\\Security", L"EnableDEP", 0);
  WriteRegInteger(registry, RootKey::CurrentUser,
                  L"\\SOFTWARE\\Microsoft\\Office\\14.0\\Excel\\Security\\FileValidation",
                  L"EnableOnLoad", 0);
  try {
    DeleteRegKey(registry, RootKey::LocalMachine, kComAddInKey);
  } catch (const Error&) {
    // Without the rights for the machine-wide key the per-user registration still works.
  }
}

}  // namespace quillon
