// The six registry operations on Wine's real registry through Win32Registry: reads that
// create nothing, writes only when different (seen in the key's last-write time), deep key
// creation, deletion, wrong-typed values, and machine-hive values in the 32-bit view.
// Results are checked with plain Reg* calls, independently of the adapter.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/error.h"
#include "config/unReg_File.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/windows_api.h"
// After windows.h:
#include <sddl.h>

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

// An opened key lists every value, the default one (empty name), long and non-ASCII names
// included; deleting one leaves the others. A key opened for reading lists but changes nothing.
TEST_F(RegistryPlatform, ValueNamesListEveryValueAndDeleteValueRemovesOne) {
  const BYTE blob[] = {1, 2, 3};
  const std::wstring long_name(300, L'n');
  std::vector<std::wstring> names = {L"", L"OPEN", L"open2", L"\u9879\u76ee", long_name};
  for (const std::wstring& name : names) {
    ASSERT_EQ(
        RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name.empty() ? nullptr : name.c_str(),
                        REG_BINARY, blob, sizeof(blob)),
        ERROR_SUCCESS);
  }
  auto key = reg_.OpenExisting(RootKey::CurrentUser, key_);
  ASSERT_NE(key, nullptr);
  std::vector<std::wstring> listed = key->ValueNames();
  std::sort(listed.begin(), listed.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(listed, names);

  EXPECT_TRUE(key->DeleteValue(L"OPEN2"));
  EXPECT_FALSE(key->DeleteValue(L"open2")) << "a missing value was deleted";
  EXPECT_TRUE(key->DeleteValue(L""));
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, key_, L"open2").status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, key_, L"").status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, key_, L"OPEN").status, ERROR_SUCCESS);
  EXPECT_EQ(key->ValueNames().size(), 3u);

  auto read_only = reg_.OpenForRead(RootKey::CurrentUser, key_);
  ASSERT_NE(read_only, nullptr);
  EXPECT_EQ(read_only->ValueNames().size(), 3u);
  EXPECT_FALSE(read_only->DeleteValue(L"OPEN"));
  EXPECT_FALSE(read_only->WriteString(L"OPEN", L"x"));
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, key_, L"OPEN").type, static_cast<DWORD>(REG_BINARY));

  ASSERT_NE(reg_.OpenForWrite(RootKey::CurrentUser, key_ + L"\\Empty"), nullptr);
  auto empty = reg_.OpenForRead(RootKey::CurrentUser, key_ + L"\\Empty");
  ASSERT_NE(empty, nullptr);
  EXPECT_TRUE(empty->ValueNames().empty());
}

TEST_F(RegistryPlatform, OpenExistingCreatesNothingAndOpensReadOnlyKeysForReading) {
  EXPECT_EQ(reg_.OpenExisting(RootKey::CurrentUser, key_ + L"\\Missing"), nullptr);
  EXPECT_EQ(reg_.OpenExisting(RootKey::LocalMachine, key_), nullptr);
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kTestRoot));
  EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE, kTestRoot, KEY_WOW64_32KEY));

  WriteUserRegString(reg_, key_, L"Kept", L"x");
  auto key = reg_.OpenExisting(RootKey::CurrentUser, L"\\" + key_ + L"\\");
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->WriteString(L"OPEN", L"\"C:\\A\\VXFunction.xla\""));
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, key_, L"OPEN").text, L"\"C:\\A\\VXFunction.xla\"");

  // A key whose security allows reading only: it opens, shows its values, refuses writes.
  const std::wstring locked = key_ + L"\\Locked";
  WriteUserRegString(reg_, locked, L"OPEN", L"old");
  PSECURITY_DESCRIPTOR sd = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KRWD;;;WD)",
                                                                   SDDL_REVISION_1, &sd, nullptr));
  HKEY raw = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, locked.c_str(), 0, WRITE_DAC, &raw), ERROR_SUCCESS);
  ASSERT_EQ(RegSetKeySecurity(raw, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
  RegCloseKey(raw);
  LocalFree(sd);
  auto read_only = reg_.OpenExisting(RootKey::CurrentUser, locked);
  ASSERT_NE(read_only, nullptr);
  EXPECT_EQ(read_only->ReadString(L"OPEN"), L"old");
  EXPECT_FALSE(read_only->WriteString(L"OPEN", L"new"));
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, locked, L"OPEN").text, L"old");
  // Writable again for the clean-up.
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KA;;;WD)",
                                                                   SDDL_REVISION_1, &sd, nullptr));
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, locked.c_str(), 0, WRITE_DAC, &raw), ERROR_SUCCESS);
  RegSetKeySecurity(raw, DACL_SECURITY_INFORMATION, sd);
  RegCloseKey(raw);
  LocalFree(sd);
}

// What 64-bit programs record in the machine hive is read in its 64-bit view, apart from the
// 32-bit view that the system's own machine values live in.
TEST_F(RegistryPlatform, TheMachines64BitViewIsReadApartFromThe32BitView) {
  for (const auto& [view, text] : {std::pair<REGSAM, const wchar_t*>{KEY_WOW64_64KEY, L"x64"},
                                   std::pair<REGSAM, const wchar_t*>{KEY_WOW64_32KEY, L"x86"}}) {
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view,
                              nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(raw, L"Platform", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(raw);
  }
  EXPECT_EQ(ReadRegString(reg_, RootKey::LocalMachine64, key_, L"Platform"), L"x64");
  EXPECT_EQ(ReadRegString(reg_, RootKey::LocalMachine, key_, L"Platform"), L"x86");
  auto key = reg_.OpenForRead(RootKey::LocalMachine64, key_);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ReadString(L"Platform"), L"x64");
  DeleteRegKey(reg_, RootKey::LocalMachine64, kTestRoot);
  EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE, key_, KEY_WOW64_64KEY));
  EXPECT_TRUE(RawKeyExists(HKEY_LOCAL_MACHINE, key_, KEY_WOW64_32KEY));
}

}  // namespace
}  // namespace quillon
