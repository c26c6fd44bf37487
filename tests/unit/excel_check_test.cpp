// The Excel check on fakes: the bitness rules for Office's own product codes and for
// Click-to-Run codes, the automation calls and their release on every path, and the client
// setting ShowLoginWhenOpenExcel around the check.
#include <gtest/gtest.h>

#include "base/text.h"
#include "config/unReg_File.h"
#include "formats/pe_header.h"
#include "office/unPub_Excel.h"
#include "platform/fake/fake_automation.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_registry.h"

namespace quillon {
namespace {

const std::wstring kC2RKey = L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration";
const std::wstring kServer = L"C:\\Program Files\\Microsoft Office\\root\\Office16\\EXCEL.EXE";
// A Click-to-Run product code: no platform digit; its 21st character happens to be "9".
const std::wstring kC2RCode = L"{9AC08E99-230B-47e8-9721-4577B7F124EA}";

// The start of a program file of the given machine type, its signature after a DOS stub of
// `stub` bytes.
Bytes ProgramStart(uint16_t machine, uint32_t stub = 0x80) {
  Bytes b(stub + 24, 0);
  b[0] = 'M';
  b[1] = 'Z';
  for (int i = 0; i < 4; ++i) b[0x3C + i] = static_cast<uint8_t>(stub >> (8 * i));
  b[stub] = 'P';
  b[stub + 1] = 'E';
  b[stub + 4] = static_cast<uint8_t>(machine);
  b[stub + 5] = static_cast<uint8_t>(machine >> 8);
  return b;
}

class ExcelCheck : public ::testing::Test {
 protected:
  ExcelCheck() {
    files.AddFolder(L"C:\\Program Files\\Microsoft Office\\root\\Office16");
    automation.properties = {{L"Version", L"16.0"}, {L"ProductCode", L""}};
  }
  bool Check() { return IsExcel32Bit(automation, registry, files); }
  std::optional<std::wstring> ShowLogin() {
    auto v = registry.Get(RootKey::CurrentUser, kProductKey, L"ShowLoginWhenOpenExcel");
    return v ? std::optional<std::wstring>(v->text) : std::nullopt;
  }

  FakeAutomation automation;
  FakeRegistry registry;
  FakeFileSystem files;
};

TEST_F(ExcelCheck, BitnessFromVersionProductCodeServerAndClickToRun) {
  struct Case {
    const wchar_t* version;
    std::wstring code;
    std::optional<uint16_t> server;  // the automation server's machine type, when readable
    const wchar_t* platform;         // Click-to-Run's Platform value
    bool is32;
  };
  const Case cases[] = {
      // Before Excel 2010 every Excel is 32-bit: the code is not even read.
      {L"12.0", L"{90120000-0030-0000-1000-0000000FF1CE}", kMachineAmd64, L"x64", true},
      // Office's own codes: the platform digit decides, whatever else says otherwise.
      {L"14.0", L"{90140000-0011-0000-0000-0000000FF1CE}", kMachineAmd64, L"", true},
      {L"14.0", L"{90140000-0011-0000-1000-0000000FF1CE}", kMachineI386, L"x86", false},
      {L"16.0", L"{90160000-0011-0000-0000-0000000ff1ce}", std::nullopt, L"", true},
      // Click-to-Run: the server program's machine type, then the Platform value.
      {L"16.0", kC2RCode, kMachineI386, L"", true},
      {L"16.0", kC2RCode, kMachineAmd64, L"x86", false},
      {L"16.0", kC2RCode, kMachineArm64, L"", false},
      {L"16.0", kC2RCode, std::nullopt, L"x86", true},
      {L"16.0", kC2RCode, std::nullopt, L"X64", false},
      // Nothing else to go by: the platform digit rule, where short codes count as 32-bit.
      {L"16.0", kC2RCode, std::nullopt, L"", false},
      {L"16.0", L"", std::nullopt, L"", true},
      {L"16.0", L"{90160000-0011-00", std::nullopt, L"", true},
      {L"16.0", L"{90160000-0011-0000-0", std::nullopt, L"", true},
      {L"16.0", L"{90160000-0011-0000-1", std::nullopt, L"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsProductCode32Bit(MajorVersion(c.version), c.code, c.server, c.platform), c.is32)
        << ToUtf8(c.version) << " " << ToUtf8(c.code) << " " << ToUtf8(c.platform);
  }
}

TEST_F(ExcelCheck, VersionTextsAndServerCommands) {
  EXPECT_EQ(MajorVersion(L"14.0"), 14);
  EXPECT_EQ(MajorVersion(L"16"), 16);
  EXPECT_EQ(MajorVersion(L" 9.0 "), 9);
  EXPECT_THROW(MajorVersion(L""), AutomationError);
  EXPECT_THROW(MajorVersion(L"sixteen"), AutomationError);

  EXPECT_EQ(ProgramOfCommand(L"\"" + kServer + L"\" /automation"), kServer);
  EXPECT_EQ(ProgramOfCommand(kServer + L" /automation"), kServer);
  EXPECT_EQ(ProgramOfCommand(L"C:\\PROGRA~1\\EXCEL.EXE"), L"C:\\PROGRA~1\\EXCEL.EXE");
  EXPECT_EQ(ProgramOfCommand(L"C:\\x\\server -Embedding"), L"C:\\x\\server");
  EXPECT_EQ(ProgramOfCommand(L"  "), L"");
}

TEST_F(ExcelCheck, ReadsTheServerProgramAndTheClickToRunValueOfTheSystem) {
  struct Case {
    Bytes program;            // the server's file; empty for none
    const wchar_t* x64_view;  // Platform in the machine's 64-bit view
    bool is32;
  };
  const Case cases[] = {
      {ProgramStart(kMachineI386), L"x64", true},
      {ProgramStart(kMachineAmd64), L"x86", false},
      // A long DOS stub puts the signature beyond the first read.
      {ProgramStart(kMachineAmd64, 6000), L"", false},
      // Not a program: the Click-to-Run value decides.
      {Bytes{'M', 'Z'}, L"x86", true},
      {{}, L"x64", false},
  };
  automation.properties[L"ProductCode"] = kC2RCode;
  automation.local_server = L"\"" + kServer + L"\" /automation";
  for (const auto& c : cases) {
    registry = FakeRegistry();
    files.DeleteFile(kServer);
    if (!c.program.empty()) files.AddFile(kServer, c.program);
    if (*c.x64_view) registry.SetString(RootKey::LocalMachine64, kC2RKey, L"Platform", c.x64_view);
    EXPECT_EQ(Check(), c.is32) << c.program.size() << " " << ToUtf8(c.x64_view);
  }
  // The 32-bit view is looked at too.
  registry = FakeRegistry();
  files.DeleteFile(kServer);
  registry.SetString(RootKey::LocalMachine, kC2RKey, L"Platform", L"x86");
  EXPECT_TRUE(Check());
}

TEST_F(ExcelCheck, StartsReadsQuitsAndReleasesExcel) {
  automation.properties[L"ProductCode"] = L"{90160000-0011-0000-0000-0000000FF1CE}";
  EXPECT_TRUE(IsExcelRegistered(automation));
  EXPECT_TRUE(Check());
  EXPECT_EQ(automation.calls,
            (std::vector<std::wstring>{L"create Excel.Application", L"get Version",
                                       L"get ProductCode", L"call Quit", L"release"}));
  EXPECT_EQ(automation.live_objects, 0);

  automation.calls.clear();
  automation.properties[L"Version"] = L"12.0";
  EXPECT_TRUE(Check());
  EXPECT_EQ(automation.calls,
            (std::vector<std::wstring>{L"create Excel.Application", L"get Version", L"call Quit",
                                       L"release"}));
}

TEST_F(ExcelCheck, AnAutomationFailureReachesTheCallerAndExcelIsQuitAndReleased) {
  automation.fail_property = L"ProductCode";
  EXPECT_THROW(Check(), AutomationError);
  EXPECT_EQ(automation.calls.back(), L"release");
  EXPECT_EQ(automation.calls[automation.calls.size() - 2], L"call Quit");
  EXPECT_EQ(automation.live_objects, 0);

  automation.calls.clear();
  automation.fail_create = L"Server execution failed";
  try {
    Check();
    ADD_FAILURE() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.message(), L"Server execution failed");
  }
  EXPECT_EQ(automation.calls, (std::vector<std::wstring>{L"create Excel.Application"}));
}

TEST_F(ExcelCheck, ShowLoginIsOffWhileExcelRunsAndTheUsersValueComesBack) {
  struct Case {
    std::optional<std::wstring> before;
    bool fail;
    std::optional<std::wstring> after;
  };
  const Case cases[] = {
      {std::nullopt, false, L"0"},
      {L"1", false, L"1"},
      {L"", false, L""},
      {L"1", true, L"1"},
  };
  for (const auto& c : cases) {
    registry = FakeRegistry();
    if (c.before) {
      registry.SetString(RootKey::CurrentUser, kProductKey, L"ShowLoginWhenOpenExcel", *c.before);
    }
    std::optional<std::wstring> during;
    automation.on_create = [&] { during = ShowLogin(); };
    automation.fail_property = c.fail ? L"Version" : L"";
    if (c.fail) {
      EXPECT_THROW(Check(), AutomationError);
    } else {
      Check();
    }
    EXPECT_EQ(during, std::optional<std::wstring>(L"0"));
    EXPECT_EQ(ShowLogin(), c.after) << (c.before ? ToUtf8(*c.before) : "(none)");
  }
}

TEST_F(ExcelCheck, AMissingExcelIsNotRegisteredAndARefusedSettingStopsBeforeExcelStarts) {
  automation.progid.clear();
  EXPECT_FALSE(IsExcelRegistered(automation));

  automation.progid = L"Excel.Application";
  registry.DenyWrites(RootKey::CurrentUser);
  EXPECT_THROW(Check(), RegistryError);
  EXPECT_TRUE(automation.calls.empty());
}

}  // namespace
}  // namespace quillon
