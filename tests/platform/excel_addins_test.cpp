// The add-in registration on Wine's real registry, for what only a real registry shows: value
// names compare regardless of letter case (an entry named "open" is the one that "OPEN"
// rewrites), every kind of value, the default one included, is cleared from the disabled
// items, and keys of absent Office versions stay absent.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "office/unPub_Excel.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/windows_api.h"

namespace quillon {
namespace {

const std::wstring kOffice = L"Software\\Microsoft\\Office";

void SetRaw(const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
            DWORD bytes) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name, type, data, bytes),
            ERROR_SUCCESS);
}
void SetText(const std::wstring& path, const wchar_t* name, const std::wstring& text) {
  SetRaw(path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// The names and texts of a key's values, sorted; nothing when the key is missing.
std::optional<std::wstring> Values(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::vector<std::wstring> entries;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_length = 256, type = 0;
    wchar_t data[512] = {};
    DWORD bytes = sizeof data - sizeof(wchar_t);
    if (RegEnumValueW(key, i, name, &name_length, nullptr, &type, reinterpret_cast<BYTE*>(data),
                      &bytes) != ERROR_SUCCESS) {
      break;
    }
    entries.push_back(std::wstring(name) + L"=" + (type == REG_SZ ? data : L"(data)") + L";");
  }
  RegCloseKey(key);
  std::sort(entries.begin(), entries.end());
  std::wstring out;
  for (const std::wstring& e : entries) out += e;
  return out;
}

class ExcelAddInsOnTheRegistry : public testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kOffice.c_str()); }
  Win32Registry registry_;
};

TEST_F(ExcelAddInsOnTheRegistry, EntriesAreFoundWhateverTheirLetterCaseAndDisabledItemsGo) {
  const std::wstring options12 = kOffice + L"\\12.0\\Excel\\Options";
  const std::wstring options16 = kOffice + L"\\16.0\\Excel\\Options";
  const std::wstring disabled = kOffice + L"\\16.0\\Excel\\Resiliency\\DisabledItems";
  SetText(options12, L"open", L"\"C:\\Old\\VXFunction.xla\"");
  SetText(options12, L"DefaultSheetDirection", L"x");
  SetText(options16, L"Open", L"\"C:\\Other\\report.xla\"");
  const BYTE blob[] = {1, 0, 0, 0};
  SetRaw(disabled, L"5A2B7C", REG_BINARY, blob, sizeof blob);
  SetRaw(disabled, nullptr, REG_BINARY, blob, sizeof blob);
  SetText(disabled, L"other", L"x");

  ClearExcelDisabledItems(registry_);
  RegisterExcelXlaAddIn(registry_, L"C:\\Program Files\\Hetu\\CLIENT");

  const std::wstring path = L"\"C:\\Program Files\\Hetu\\CLIENT\\VXFunction.xla\"";
  EXPECT_EQ(Values(options12), L"DefaultSheetDirection=x;open=" + path + L";");
  EXPECT_EQ(Values(options16), L"OPEN1=" + path + L";Open=\"C:\\Other\\report.xla\";");
  EXPECT_EQ(Values(disabled), L"");
  for (const wchar_t* version : {L"10.0", L"11.0", L"14.0", L"15.0", L"20.0"}) {
    EXPECT_EQ(Values(kOffice + L"\\" + version), std::nullopt) << version;
  }
}

}  // namespace
}  // namespace quillon
