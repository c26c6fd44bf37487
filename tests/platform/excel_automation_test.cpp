// The Win32 automation adapter, and the Excel check over the real adapters, against the test
// stand-in for Excel's automation server that regsvr32 registers in this prefix (see
// support/excel_standin/excel_standin.h): class lookup before and after registration,
// creation, property reads, method calls and the final release as the server records them,
// the server's own error texts, the registered local server command, and the bitness told
// from Office's product codes or, for Click-to-Run codes, from the server program's file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "office/unPub_Excel.h"
#include "platform/win32/win32_automation.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/windows_api.h"
#include "regsvr32.h"
#include "scratch_folder.h"
#include "support/excel_standin/excel_standin.h"
#include "support/excel_standin/pe_fixture.h"
// After windows.h:
#include <objbase.h>

namespace quillon {
namespace {

const std::wstring kOffice32 = L"{90160000-0011-0000-0000-0000000FF1CE}";
const std::wstring kOffice64 = L"{90160000-0011-0000-1000-0000000FF1CE}";
// Click-to-Run's codes carry no platform digit (this one's 21st character is "9").
const std::wstring kClickToRun = L"{9AC08E99-230B-47E8-9721-4577B7F124EA}";
const std::wstring kClickToRunKey = L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration";
const std::wstring kProductKey = L"Software\\Tovrin";

// The built stand-in, through Wine's Z: drive (the Unix root).
std::wstring StandInPath() {
  std::wstring path = L"Z:";
  for (const char* p = QUILLON_EXCEL_STANDIN; *p != '\0'; ++p) {
    path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  }
  return path;
}

void SetUserString(const std::wstring& path, const std::wstring& name, const std::wstring& text) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), REG_SZ, text.c_str(),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

// A string value under HKCU, or nothing when it is missing.
std::optional<std::wstring> UserString(const std::wstring& path, const std::wstring& name) {
  wchar_t buffer[2048] = {};
  DWORD bytes = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer,
                   &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(buffer);
}

void SetControl(const std::wstring& name, const std::wstring& text) {
  SetUserString(kExcelStandInKey, name, text);
}

// What the stand-in recorded so far.
std::wstring Log() {
  return UserString(kExcelStandInKey, L"Log").value_or(L"");
}

// The system's message for a result code, as Windows words it.
std::wstring SystemText(HRESULT hr) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length != 0 && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  return text;
}

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  return out;
}

void WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good());
}

class ExcelStandIn : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(kExcelStandInProgId, &clsid))) {
      ASSERT_EQ(RunRegSvr32(L"/s", StandInPath()), 0u);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kExcelStandInKey);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kProductKey.c_str(), L"ShowLoginWhenOpenExcel");
    SetControl(L"Version", L"16.0");
    SetControl(L"ProductCode", kOffice32);
  }
  void TearDown() override {
    SetLocalServer(std::nullopt);
    RegDeleteTreeW(HKEY_CURRENT_USER, kExcelStandInKey);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office\\ClickToRun");
    CoUninitialize();
  }

  // Writes the class's LocalServer32 command, or removes it.
  static void SetLocalServer(const std::optional<std::wstring>& command, DWORD type = REG_SZ) {
    const std::wstring key = std::wstring(L"CLSID\\") + kExcelStandInClsid + L"\\LocalServer32";
    if (!command) {
      RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
      return;
    }
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, type, command->c_str(),
                              static_cast<DWORD>((command->size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }

  Win32Automation automation_;
};

TEST_F(ExcelStandIn, ExcelIsRegisteredOnlyWhileItsClassIs) {
  EXPECT_TRUE(IsExcelRegistered(automation_));
  ASSERT_EQ(RunRegSvr32(L"/u /s", StandInPath()), 0u);
  EXPECT_FALSE(IsExcelRegistered(automation_));
  EXPECT_EQ(automation_.LocalServerCommand(kExcelStandInProgId), L"");
  EXPECT_THROW(automation_.Create(kExcelStandInProgId), AutomationError);
  ASSERT_EQ(RunRegSvr32(L"/s", StandInPath()), 0u);
  EXPECT_TRUE(IsExcelRegistered(automation_));

  // A ProgID that resolves to the null class identifier names no class.
  const std::wstring null_class = L"Quillon.Test.NullClass";
  ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, (null_class + L"\\CLSID").c_str(), nullptr, REG_SZ,
                            L"{00000000-0000-0000-0000-000000000000}", 39 * sizeof(wchar_t)),
            ERROR_SUCCESS);
  EXPECT_FALSE(automation_.IsRegistered(null_class));
  RegDeleteTreeW(HKEY_CLASSES_ROOT, null_class.c_str());
  // Looking the class up starts nothing.
  EXPECT_EQ(Log(), L"");
}

TEST_F(ExcelStandIn, ReadsPropertiesCallsMethodsAndReleasesTheInstance) {
  {
    std::unique_ptr<AutomationObject> excel = automation_.Create(kExcelStandInProgId);
    EXPECT_EQ(Log(), L"create;");
    EXPECT_EQ(excel->GetText(L"Version"), L"16.0");
    SetControl(L"ProductCode", kClickToRun);
    EXPECT_EQ(excel->GetText(L"ProductCode"), kClickToRun);
    excel->Call(L"Quit");
    // A member the server does not have.
    EXPECT_THROW(excel->GetText(L"Visible"), AutomationError);
    EXPECT_EQ(Log(), L"create;get Version;get ProductCode;call Quit;unknown Visible;");
  }
  EXPECT_EQ(Log(), L"create;get Version;get ProductCode;call Quit;unknown Visible;release;");
}

TEST_F(ExcelStandIn, FailuresRaiseAutomationErrorsWithTheServersText) {
  struct Case {
    const wchar_t* fail_create;  // HRESULT the creation fails with, or empty
    const wchar_t* fail_member;  // member whose invocation fails, or empty
    const wchar_t* description;  // the exception's description
    std::wstring expected;       // in the error's message
    const wchar_t* log;
  };
  const Case cases[] = {
      {L"0x80070005", L"", L"", SystemText(E_ACCESSDENIED), L"create failed;"},
      {L"", L"Version", L"Excel cannot read its settings", L"Excel cannot read its settings",
       L"create;get Version failed;release;"},
      {L"", L"ProductCode", L"Die Lizenz fehlt", L"Die Lizenz fehlt",
       L"create;get Version;get ProductCode failed;release;"},
      {L"", L"Quit", L"Excel is busy", L"Excel is busy",
       L"create;get Version;get ProductCode;call Quit failed;release;"},
      // No description: the exception's result code in the system's words.
      {L"", L"Version", L"", SystemText(E_FAIL), L"create;get Version failed;release;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(std::wstring(c.fail_create) + c.fail_member + L" " + c.description));
    ASSERT_FALSE(c.expected.empty()) << "the system has no text for the code";
    RegDeleteTreeW(HKEY_CURRENT_USER, kExcelStandInKey);
    SetControl(L"Version", L"16.0");
    SetControl(L"ProductCode", kOffice32);
    SetControl(L"FailCreate", c.fail_create);
    SetControl(L"FailMember", c.fail_member);
    SetControl(L"FailDescription", c.description);
    try {
      std::unique_ptr<AutomationObject> excel = automation_.Create(kExcelStandInProgId);
      excel->GetText(L"Version");
      excel->GetText(L"ProductCode");
      excel->Call(L"Quit");
      ADD_FAILURE() << "nothing failed";
    } catch (const AutomationError& e) {
      EXPECT_NE(e.message().find(c.expected), std::wstring::npos) << Utf8(e.message());
    }
    EXPECT_EQ(Log(), c.log);
  }
}

TEST_F(ExcelStandIn, LocalServerCommandIsWhatTheClassRegisters) {
  EXPECT_EQ(automation_.LocalServerCommand(kExcelStandInProgId), L"");
  const std::wstring quoted =
      L"\"C:\\Program Files\\Microsoft Office\\Office16\\srv.exe\" /automation";
  SetLocalServer(quoted);
  EXPECT_EQ(automation_.LocalServerCommand(kExcelStandInProgId), quoted);
  // An expandable command comes expanded, as COM starts it.
  wchar_t root[MAX_PATH] = {};
  ASSERT_NE(GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH), 0u);
  SetLocalServer(L"%SystemRoot%\\srv.exe /automation", REG_EXPAND_SZ);
  EXPECT_EQ(automation_.LocalServerCommand(kExcelStandInProgId),
            std::wstring(root) + L"\\srv.exe /automation");
  // The class is still created in process, not through the local server.
  EXPECT_NO_THROW(automation_.Create(kExcelStandInProgId));
  EXPECT_EQ(Log(), L"create;release;");
}

TEST_F(ExcelStandIn, BitnessOverTheRealAdapters) {
  struct Case {
    const wchar_t* version;
    std::wstring code;
    std::optional<uint16_t> server;  // machine of the local server's program file; none: missing
    uint32_t signature_at;
    const wchar_t* c2r_platform;  // ClickToRun Platform in the machine's 64-bit view, or empty
    bool is32;
    const wchar_t* log;
  };
  const wchar_t* kFull = L"create;get Version;get ProductCode;call Quit;release;";
  const Case cases[] = {
      {L"16.0", kOffice32, std::nullopt, 0, L"", true, kFull},
      {L"16.0", kOffice64, kPeFixtureI386, 0x80, L"x86", false, kFull},
      // Excel 2007 counts as 32-bit: its product code is not read.
      {L"12.0", kOffice64, std::nullopt, 0, L"", true, L"create;get Version;call Quit;release;"},
      {L"16.0", kClickToRun, kPeFixtureI386, 0x80, L"", true, kFull},
      {L"16.0", kClickToRun, kPeFixtureAmd64, 0x80, L"", false, kFull},
      // A long DOS stub puts the signature far into the file.
      {L"16.0", kClickToRun, kPeFixtureAmd64, 6000, L"", false, kFull},
      {L"16.0", kClickToRun, kPeFixtureI386, 6000, L"x64", true, kFull},
      // No server file to read: Click-to-Run's record of its platform.
      {L"16.0", kClickToRun, std::nullopt, 0, L"x86", true, kFull},
      {L"16.0", kClickToRun, std::nullopt, 0, L"x64", false, kFull},
  };
  Win32Registry registry;
  Win32FileSystem files;
  ScratchFolder folder;
  const std::wstring server = folder.At(L"Office Server\\standin server.exe");
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(std::wstring(c.version) + L" " + c.code + L" " + c.c2r_platform) + " " +
                 std::to_string(c.server.value_or(0)) + "@" + std::to_string(c.signature_at));
    RegDeleteTreeW(HKEY_CURRENT_USER, kExcelStandInKey);
    SetControl(L"Version", c.version);
    SetControl(L"ProductCode", c.code);
    std::filesystem::remove(std::filesystem::path(server));
    if (c.server) WriteFileBytes(server, MinimalProgram(*c.server, c.signature_at));
    SetLocalServer(L"\"" + server + L"\" /automation");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office\\ClickToRun");
    if (*c.c2r_platform) {
      HKEY key = nullptr;
      ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kClickToRunKey.c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr),
                ERROR_SUCCESS);
      RegSetValueExW(key, L"Platform", 0, REG_SZ, reinterpret_cast<const BYTE*>(c.c2r_platform),
                     static_cast<DWORD>((wcslen(c.c2r_platform) + 1) * sizeof(wchar_t)));
      RegCloseKey(key);
    }
    EXPECT_EQ(IsExcel32Bit(automation_, registry, files), c.is32);
    EXPECT_EQ(Log(), c.log);
  }
}

TEST_F(ExcelStandIn, ShowLoginIsOffWhileExcelRunsAndTheUsersValueIsPutBack) {
  struct Case {
    std::optional<std::wstring> before;
    const wchar_t* fail_member;
    std::optional<std::wstring> after;
  };
  const Case cases[] = {
      {std::nullopt, L"", L"0"},
      {L"1", L"", L"1"},
      {L"1", L"ProductCode", L"1"},
  };
  Win32Registry registry;
  Win32FileSystem files;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before ? Utf8(*c.before) : "(none)");
    RegDeleteTreeW(HKEY_CURRENT_USER, kExcelStandInKey);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kProductKey.c_str(), L"ShowLoginWhenOpenExcel");
    if (c.before) SetUserString(kProductKey, L"ShowLoginWhenOpenExcel", *c.before);
    SetControl(L"Version", L"16.0");
    SetControl(L"ProductCode", kOffice32);
    SetControl(L"FailMember", c.fail_member);
    if (*c.fail_member) {
      EXPECT_THROW(IsExcel32Bit(automation_, registry, files), AutomationError);
      // An Excel that failed a read is still asked to quit, and released.
      EXPECT_EQ(Log(), L"create;get Version;get ProductCode failed;call Quit;release;");
    } else {
      EXPECT_TRUE(IsExcel32Bit(automation_, registry, files));
    }
    EXPECT_EQ(UserString(kExcelStandInKey, L"ShowLoginSeen"), L"0");
    EXPECT_EQ(UserString(kProductKey, L"ShowLoginWhenOpenExcel"), c.after);
  }
}

}  // namespace
}  // namespace quillon
