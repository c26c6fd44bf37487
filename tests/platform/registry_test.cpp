// The six registry operations on Wine's real registry through Win32Registry: reads that
// create nothing, writes only when different (seen in the key's last-write time), deep key
// creation, deletion, wrong-typed values, and machine-hive values in the 32-bit view.
// Results are checked with plain Reg* calls, independently of the adapter.
#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "config/unReg_File.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/windows_api.h"

namespace quillon {
namespace {

const std::wstring kTestRoot = L"Software\\QuillonPlatformTest";

bool RawKeyExists(HKEY root, const std::wstring& path, REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Type and data of a value as stored, read without the adapter.
struct RawValue {
  LSTATUS status = ERROR_FILE_NOT_FOUND;
  DWORD type = REG_NONE;
  std::wstring text;
  DWORD dword = 0;
};

RawValue ReadRaw(HKEY root, const std::wstring& path, const std::wstring& name, REGSAM view = 0) {
  RawValue out;
  HKEY key = nullptr;
  out.status = RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key);
  if (out.status != ERROR_SUCCESS) return out;
  BYTE data[1024] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t);
  out.status = RegQueryValueExW(key, name.c_str(), nullptr, &out.type, data, &size);
  RegCloseKey(key);
  if (out.type == REG_SZ) out.text = reinterpret_cast<const wchar_t*>(data);
  if (out.type == REG_DWORD) memcpy(&out.dword, data, sizeof(DWORD));
  return out;
}

uint64_t RawLastWrite(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  FILETIME ft{};
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, &ft);
  RegCloseKey(key);
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

class RegistryPlatform : public testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    key_ = kTestRoot + L"\\" + std::wstring(info->name(), info->name() + strlen(info->name())) +
           std::to_wstring(GetCurrentProcessId());
  }
  void TearDown() override {
    DeleteRegKey(reg_, RootKey::CurrentUser, kTestRoot);
    DeleteRegKey(reg_, RootKey::LocalMachine, kTestRoot);
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kTestRoot));
  }
  // Lets the registry clock move on, so an unwanted rewrite would show in last-write times.
  static void Tick() { Sleep(30); }

  Win32Registry reg_;
  std::wstring key_;
};

TEST_F(RegistryPlatform, ReadOfMissingKeyIsEmptyAndLeavesNoKeyBehind) {
  EXPECT_EQ(ReadUserRegString(reg_, key_ + L"\\Missing\\Deeper", L"CurLang"), L"");
  EXPECT_EQ(ReadRegString(reg_, RootKey::LocalMachine, key_ + L"\\Missing", L"ALLSetup"), L"");
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, key_));
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kTestRoot));
  // A missing value under an existing key reads as empty too.
  WriteUserRegString(reg_, key_, L"Other", L"x");
  EXPECT_EQ(ReadUserRegString(reg_, key_, L"CurLang"), L"");
}

// Windows moves a key's last-write time on every value write; Wine skips a write of the
// very same type and bytes on its own, so here the time catches rewrites that change either.
// An expandable string holding the same text shows a rewrite on Wine too: it would turn
// into a plain string.
TEST_F(RegistryPlatform, OnlyDifferentTextIsWritten) {
  WriteUserRegString(reg_, key_, L"CurLang", L"ABC");
  const uint64_t first = RawLastWrite(HKEY_CURRENT_USER, key_);
  ASSERT_NE(first, 0u);
  Tick();
  WriteUserRegString(reg_, key_, L"CurLang", L"ABC");
  EXPECT_EQ(RawLastWrite(HKEY_CURRENT_USER, key_), first) << "unchanged text was rewritten";
  const std::wstring expandable = L"%SystemRoot%";
  ASSERT_EQ(
      RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Path", REG_EXPAND_SZ, expandable.c_str(),
                      static_cast<DWORD>((expandable.size() + 1) * sizeof(wchar_t))),
      ERROR_SUCCESS);
  WriteUserRegString(reg_, key_, L"Path", expandable);
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, key_, L"Path").type, static_cast<DWORD>(REG_EXPAND_SZ));
  const uint64_t second = RawLastWrite(HKEY_CURRENT_USER, key_);
  Tick();
  // The comparison is case-sensitive: "abc" over "ABC" is a change.
  WriteUserRegString(reg_, key_, L"CurLang", L"abc");
  EXPECT_GT(RawLastWrite(HKEY_CURRENT_USER, key_), second);
  const RawValue v = ReadRaw(HKEY_CURRENT_USER, key_, L"CurLang");
  EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(v.text, L"abc");
  EXPECT_EQ(ReadUserRegString(reg_, key_, L"curlang"), L"abc");
}

TEST_F(RegistryPlatform, DeepIntegerWriteCreatesEveryLevel) {
  const std::wstring deep = key_ + L"\\Office\\16.0\\Excel\\Options";
  // Leading and trailing backslashes name the same key.
  WriteRegInteger(reg_, RootKey::CurrentUser, L"\\" + deep + L"\\", L"LoadBehavior", 3);
  RawValue v = ReadRaw(HKEY_CURRENT_USER, deep, L"LoadBehavior");
  ASSERT_EQ(v.status, ERROR_SUCCESS);
  EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(v.dword, 3u);
  const uint64_t stamp = RawLastWrite(HKEY_CURRENT_USER, deep);
  Tick();
  WriteRegInteger(reg_, RootKey::CurrentUser, deep, L"LoadBehavior", 3);
  EXPECT_EQ(RawLastWrite(HKEY_CURRENT_USER, deep), stamp);
  WriteRegInteger(reg_, RootKey::CurrentUser, deep, L"LoadBehavior", -1);
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, deep, L"LoadBehavior").dword, 0xFFFFFFFFu);
}

TEST_F(RegistryPlatform, DeleteRemovesTheTreeAndIgnoresMissingKeys) {
  EXPECT_NO_THROW(DeleteRegKey(reg_, RootKey::CurrentUser, key_ + L"\\Never\\There"));
  WriteUserRegString(reg_, key_ + L"\\Sub\\Deeper", L"V", L"x");
  WriteUserRegString(reg_, key_, L"Kept", L"y");
  DeleteRegKey(reg_, RootKey::CurrentUser, key_ + L"\\SUB");
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, key_ + L"\\Sub"));
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, key_, L"Kept").text, L"y");
}

TEST_F(RegistryPlatform, WrongTypedValueRaises) {
  const DWORD number = 7;
  ASSERT_EQ(
      RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Num", REG_DWORD, &number, sizeof(number)),
      ERROR_SUCCESS);
  const BYTE blob[] = {1, 2, 3};
  ASSERT_EQ(
      RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Bin", REG_BINARY, blob, sizeof(blob)),
      ERROR_SUCCESS);
  for (const wchar_t* name : {L"Num", L"Bin"}) {
    EXPECT_THROW(ReadUserRegString(reg_, key_, name), RegistryError);
    EXPECT_THROW(WriteUserRegString(reg_, key_, name, L"7"), RegistryError);
  }
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, key_, L"Num").dword, 7u);
}

TEST_F(RegistryPlatform, MachineHiveValuesLandInThe32BitView) {
  WriteRegString(reg_, RootKey::LocalMachine, key_, L"COMUser", L"installer");
  WriteRegInteger(reg_, RootKey::LocalMachine, key_, L"Count", 2);
  const RawValue in32 = ReadRaw(HKEY_LOCAL_MACHINE, key_, L"COMUser", KEY_WOW64_32KEY);
  ASSERT_EQ(in32.status, ERROR_SUCCESS);
  EXPECT_EQ(in32.text, L"installer");
  EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, key_, L"Count", KEY_WOW64_32KEY).dword, 2u);
  EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE, key_, KEY_WOW64_64KEY));
  // Where a 64-bit Windows keeps the 32-bit view of HKLM\Software.
  const std::wstring wow = L"Software\\Wow6432Node" + key_.substr(std::wstring(L"Software").size());
  EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, wow, L"COMUser", KEY_WOW64_64KEY).text, L"installer");
  EXPECT_EQ(ReadRegString(reg_, RootKey::LocalMachine, key_, L"COMUser"), L"installer");
  DeleteRegKey(reg_, RootKey::LocalMachine, key_);
  EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE, key_, KEY_WOW64_32KEY));
}

}  // namespace
}  // namespace quillon
