// The add-in registration on the fake registry: the open entries of every Office version
// present, the disabled items, and the COM add-in's values.
#include <gtest/gtest.h>

#include "base/text.h"
#include "office/unPub_Excel.h"
#include "platform/fake/fake_registry.h"

namespace quillon {
namespace {

const std::wstring kNew = L"\"D:\\New\\VXFunction.xla\"";
const std::wstring kAddIn = L"SOFTWARE\\Microsoft\\Office\\Excel\\Addins\\modHook.Office_Addin";

std::wstring Options(int version) {
  return L"Software\\Microsoft\\Office\\" + IntToText(version) + L".0\\Excel\\Options";
}

class ExcelAddIns : public ::testing::Test {
 protected:
  void Open(int version, const std::wstring& name, const std::wstring& text) {
    registry.SetString(RootKey::CurrentUser, Options(version), name, text);
  }
  // Every value of a version's options key as NAME=text, in the order they were written.
  std::vector<std::wstring> Entries(int version) {
    std::vector<std::wstring> out;
    auto key = registry.OpenForRead(RootKey::CurrentUser, Options(version));
    if (!key) return out;
    for (const auto& name : key->ValueNames()) out.push_back(name + L"=" + key->ReadString(name));
    return out;
  }
  FakeRegistry registry;
};

TEST_F(ExcelAddIns, TheWorkbookEntryIsUpdatedOrAddedAtTheNextFreeNumber) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::wstring, std::wstring>> before;
    std::vector<std::wstring> after;
  };
  const std::wstring other = L"\"C:\\Other\\tool.xla\"";
  const std::wstring old = L"\"C:\\Old\\VXFunction.xla\"";
  const Case cases[] = {
      {"no open entry", {{L"Font", L"Arial"}}, {L"Font=Arial", L"OPEN=" + kNew}},
      {"a lone OPEN", {{L"OPEN", other}}, {L"OPEN=" + other, L"OPEN1=" + kNew}},
      {"OPEN2 holds the old path",
       {{L"OPEN", other}, {L"OPEN1", other}, {L"OPEN2", old}},
       {L"OPEN=" + other, L"OPEN1=" + other, L"OPEN2=" + kNew}},
      {"a lower-case name", {{L"open", old}}, {L"open=" + kNew}},
      {"the file named in other letters",
       {{L"OPEN", L"\"C:\\Old\\vxfunction.xla\""}},
       {L"OPEN=\"C:\\Old\\vxfunction.xla\"", L"OPEN1=" + kNew}},
      {"numbers beyond nine",
       {{L"OPEN", other}, {L"OPEN10", other}, {L"OPEN9", other}},
       {L"OPEN=" + other, L"OPEN10=" + other, L"OPEN9=" + other, L"OPEN11=" + kNew}},
      // A name whose tail is no number takes no part in the numbering.
      {"OPENX", {{L"OPENX", other}}, {L"OPENX=" + other, L"OPEN=" + kNew}},
      {"OPENX beside OPEN1",
       {{L"OPENX", other}, {L"OPEN1", other}},
       {L"OPENX=" + other, L"OPEN1=" + other, L"OPEN2=" + kNew}},
      // The first match in sorted order is the one updated.
      {"two matches", {{L"OPEN3", old}, {L"OPEN1", old}}, {L"OPEN3=" + old, L"OPEN1=" + kNew}},
  };
  for (const auto& c : cases) {
    registry = FakeRegistry();
    for (const auto& [name, text] : c.before) Open(16, name, text);
    RegisterExcelXlaAddIn(registry, L"D:\\New");
    EXPECT_EQ(Entries(16), c.after) << c.what;
  }
}

TEST_F(ExcelAddIns, EveryPresentVersionGetsItsOwnEntryAndNoKeyIsCreated) {
  Open(12, L"OPEN", L"\"C:\\Other\\tool.xla\"");
  Open(15, L"Font", L"Arial");
  RegisterExcelXlaAddIn(registry, L"D:\\New");
  EXPECT_EQ(Entries(12).back(), L"OPEN1=" + kNew);
  EXPECT_EQ(Entries(15).back(), L"OPEN=" + kNew);
  for (int v = 10; v <= 20; ++v) {
    if (v != 12 && v != 15) {
      EXPECT_FALSE(registry.KeyExists(RootKey::CurrentUser, Options(v))) << v;
    }
  }
  // Running twice leaves the result of running once.
  RegisterExcelXlaAddIn(registry, L"D:\\New");
  EXPECT_EQ(Entries(12).size(), 2u);
  EXPECT_EQ(Entries(15).size(), 2u);
}

TEST_F(ExcelAddIns, AnOpenEntryThatIsNoTextOrARefusedWriteStopsTheStep) {
  FakeRegistry::Value number;
  number.kind = RegValueKind::Dword;
  registry.Set(RootKey::CurrentUser, Options(16), L"OPEN", number);
  EXPECT_THROW(RegisterExcelXlaAddIn(registry, L"D:\\New"), RegistryError);

  registry = FakeRegistry();
  Open(16, L"OPEN", L"x");
  registry.DenyWrites(RootKey::CurrentUser);
  EXPECT_THROW(RegisterExcelXlaAddIn(registry, L"D:\\New"), RegistryError);
}

TEST_F(ExcelAddIns, DisabledItemsAreEmptiedForEveryVersionThatHasThem) {
  const std::wstring k14 = L"Software\\Microsoft\\Office\\14.0\\Excel\\Resiliency\\DisabledItems";
  const std::wstring k16 = L"Software\\Microsoft\\Office\\16.0\\Excel\\Resiliency\\DisabledItems";
  registry.SetString(RootKey::CurrentUser, k14, L"12AB", L"x");
  registry.SetString(RootKey::CurrentUser, k14, L"34CD", L"y");
  FakeRegistry::Value binary;
  binary.kind = RegValueKind::Other;
  registry.Set(RootKey::CurrentUser, k16, L"56EF", binary);
  ClearExcelDisabledItems(registry);
  for (const auto& k : {k14, k16}) {
    ASSERT_TRUE(registry.KeyExists(RootKey::CurrentUser, k));
    EXPECT_TRUE(registry.OpenForRead(RootKey::CurrentUser, k)->ValueNames().empty());
  }
  EXPECT_FALSE(registry.KeyExists(RootKey::CurrentUser,
                                  L"Software\\Microsoft\\Office\\15.0\\Excel\\Resiliency"));
}

TEST_F(ExcelAddIns, TheComAddInIsRegisteredPerUserAndItsMachineKeyRemoved) {
  struct Case {
    const wchar_t* name;
    const wchar_t* friendly;  // after the step
  };
  for (const Case& c : {Case{L" Quillon", L" Quillon"}, Case{L"", L"kept"}}) {
    registry = FakeRegistry();
    registry.SetString(RootKey::CurrentUser, kAddIn, L"FriendlyName", L"kept");
    registry.SetString(RootKey::LocalMachine, kAddIn, L"FriendlyName", L"machine");
    RegisterExcelComAddIn(registry, c.name);
    EXPECT_EQ(registry.Get(RootKey::CurrentUser, kAddIn, L"FriendlyName")->text, c.friendly);
    EXPECT_EQ(registry.Get(RootKey::CurrentUser, kAddIn, L"Description").has_value(), *c.name != 0);
    EXPECT_EQ(registry.Get(RootKey::CurrentUser, kAddIn, L"LoadBehavior")->dword, 3u);
    EXPECT_EQ(registry.Get(RootKey::CurrentUser, kAddIn, L"CommandLineSafe")->dword, 0u);
    EXPECT_EQ(registry
                  .Get(RootKey::CurrentUser, L"Software\\Microsoft\\Office\\14.0\\Excel\\Security",
                       L"EnableDEP")
                  ->kind,
              RegValueKind::Dword);
    EXPECT_TRUE(registry
                    .Get(RootKey::CurrentUser,
                         L"SOFTWARE\\Microsoft\\Office\\14.0\\Excel\\Security\\FileValidation",
                         L"EnableOnLoad")
                    .has_value());
    EXPECT_FALSE(registry.KeyExists(RootKey::LocalMachine, kAddIn));
  }
  // Without rights for the machine hive the step still succeeds.
  registry.SetString(RootKey::LocalMachine, kAddIn, L"FriendlyName", L"machine");
  registry.DenyWrites(RootKey::LocalMachine);
  EXPECT_NO_THROW(RegisterExcelComAddIn(registry, L"x"));
  EXPECT_TRUE(registry.KeyExists(RootKey::LocalMachine, kAddIn));
}

}  // namespace
}  // namespace quillon
