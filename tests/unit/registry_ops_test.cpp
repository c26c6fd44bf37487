// Registry operations on the in-memory registry: read-without-create, write-if-different,
// refused writes, deep paths, deletion.
#include <gtest/gtest.h>

#include "base/error.h"
#include "config/unReg_File.h"
#include "platform/fake/fake_registry.h"

namespace quillon {
namespace {

const std::wstring kKey = L"Software\\Tovrin";

TEST(RegistryOps, ReadOfMissingKeyIsEmptyAndCreatesNothing) {
  FakeRegistry reg;
  EXPECT_EQ(ReadUserRegString(reg, L"Software\\Nope\\Deeper", L"X"), L"");
  EXPECT_FALSE(reg.KeyExists(RootKey::CurrentUser, L"Software\\Nope"));
  EXPECT_FALSE(reg.KeyExists(RootKey::CurrentUser, L"Software"));
}

TEST(RegistryOps, KeyPathsIgnoreCaseAndOuterBackslashes) {
  FakeRegistry reg;
  WriteUserRegString(reg, L"SoftWare\\Tovrin\\", L"CurLang", L"B");
  for (const wchar_t* path : {L"software\\tovrin", L"\\SOFTWARE\\TOVRIN", L"Software\\Tovrin\\"}) {
    EXPECT_EQ(ReadUserRegString(reg, path, L"curlang"), L"B") << path;
  }
}

TEST(RegistryOps, UnchangedWriteLeavesTheKeyAlone) {
  FakeRegistry reg;
  WriteUserRegString(reg, kKey, L"CurLang", L"A");
  const auto stamp = reg.LastWriteTime(RootKey::CurrentUser, kKey);
  const int writes = reg.write_count();
  WriteUserRegString(reg, kKey, L"CurLang", L"A");
  EXPECT_EQ(reg.LastWriteTime(RootKey::CurrentUser, kKey), stamp);
  EXPECT_EQ(reg.write_count(), writes);
}

TEST(RegistryOps, ComparisonIsCaseSensitive) {
  FakeRegistry reg;
  WriteUserRegString(reg, kKey, L"V", L"ABC");
  const auto stamp = reg.LastWriteTime(RootKey::CurrentUser, kKey);
  WriteUserRegString(reg, kKey, L"V", L"abc");
  EXPECT_EQ(ReadUserRegString(reg, kKey, L"V"), L"abc");
  EXPECT_NE(reg.LastWriteTime(RootKey::CurrentUser, kKey), stamp);
}

TEST(RegistryOps, WrongTypedValueRaises) {
  FakeRegistry reg;
  FakeRegistry::Value dword;
  dword.kind = RegValueKind::Dword;
  dword.dword = 7;
  reg.Set(RootKey::CurrentUser, kKey, L"Num", dword);
  EXPECT_THROW(ReadUserRegString(reg, kKey, L"Num"), RegistryError);
  EXPECT_THROW(WriteUserRegString(reg, kKey, L"Num", L"7"), RegistryError);
}

TEST(RegistryOps, DeepIntegerWriteCreatesEveryLevel) {
  FakeRegistry reg;
  const std::wstring deep = L"Software\\A\\B\\C\\D";
  WriteRegInteger(reg, RootKey::CurrentUser, deep, L"LoadBehavior", 3);
  auto v = reg.Get(RootKey::CurrentUser, deep, L"LoadBehavior");
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(v->kind, RegValueKind::Dword);
  EXPECT_EQ(v->dword, 3u);
  const auto stamp = reg.LastWriteTime(RootKey::CurrentUser, deep);
  WriteRegInteger(reg, RootKey::CurrentUser, deep, L"LoadBehavior", 3);
  EXPECT_EQ(reg.LastWriteTime(RootKey::CurrentUser, deep), stamp);
  WriteRegInteger(reg, RootKey::CurrentUser, deep, L"LoadBehavior", -1);
  EXPECT_EQ(reg.Get(RootKey::CurrentUser, deep, L"LoadBehavior")->dword, 0xFFFFFFFFu);
}

TEST(RegistryOps, RefusedWriteNamesTheValueEvenWhenNothingWouldChange) {
  FakeRegistry reg;
  reg.SetString(RootKey::LocalMachine, kKey, L"ALLSetup", L"1");
  reg.DenyWrites(RootKey::LocalMachine);
  for (const wchar_t* text : {L"1", L"0"}) {
    try {
      WriteRegString(reg, RootKey::LocalMachine, kKey, L"ALLSetup", text);
      FAIL() << "no error for " << text;
    } catch (const RegistryError& e) {
      EXPECT_NE(e.message().find(L"ALLSetup"), std::wstring::npos);
    }
  }
  EXPECT_THROW(WriteRegInteger(reg, RootKey::LocalMachine, kKey, L"N", 1), RegistryError);
  // Reads still work without write rights.
  EXPECT_EQ(ReadRegString(reg, RootKey::LocalMachine, kKey, L"ALLSetup"), L"1");
}

TEST(RegistryOps, DeleteRemovesTheTreeAndIgnoresMissingKeys) {
  FakeRegistry reg;
  WriteUserRegString(reg, L"Software\\Del\\Sub", L"V", L"x");
  EXPECT_NO_THROW(DeleteRegKey(reg, RootKey::CurrentUser, L"Software\\Missing"));
  DeleteRegKey(reg, RootKey::CurrentUser, L"software\\del");
  EXPECT_FALSE(reg.KeyExists(RootKey::CurrentUser, L"Software\\Del"));
  EXPECT_TRUE(reg.KeyExists(RootKey::CurrentUser, L"Software"));
  WriteUserRegString(reg, L"Software\\Del", L"V", L"x");
  reg.DenyWrites(RootKey::CurrentUser);
  EXPECT_THROW(DeleteRegKey(reg, RootKey::CurrentUser, L"Software\\Del"), RegistryError);
}

}  // namespace
}  // namespace quillon
