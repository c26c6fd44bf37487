// Shortcut files made through the shell link object on Wine, read back both ways: from their
// bytes (the Shell Link format reader of the tests) and through IShellLinkW after
// IPersistFile::Load. Then the installer's shortcut step over the real shell.
#include <gtest/gtest.h>

#include "base/text.h"
#include "config/shortcuts.h"
#include "config/unReg_File.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/windows_api.h"
#include "scratch_folder.h"
#include "support/shell_link_reader.h"

// After <windows.h>:
#include <shlobj.h>

namespace quillon {
namespace {

struct ComApartment {
  ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { CoUninitialize(); }
};

// What the shell's own link object reads from the file.
ShellLinkRead LoadThroughTheShell(const std::wstring& file) {
  ShellLinkRead out;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    ADD_FAILURE() << "no shell link object";
    return out;
  }
  IPersistFile* persist = nullptr;
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
  if (persist && SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
    wchar_t buf[MAX_PATH * 2] = {};
    int icon = 0;
    if (SUCCEEDED(link->GetPath(buf, MAX_PATH * 2, nullptr, SLGP_RAWPATH))) out.target = buf;
    buf[0] = 0;
    if (SUCCEEDED(link->GetArguments(buf, MAX_PATH * 2))) out.arguments = buf;
    buf[0] = 0;
    if (SUCCEEDED(link->GetWorkingDirectory(buf, MAX_PATH * 2))) out.working_folder = buf;
    buf[0] = 0;
    if (SUCCEEDED(link->GetIconLocation(buf, MAX_PATH * 2, &icon))) out.icon_location = buf;
    out.icon_index = icon;
  } else {
    ADD_FAILURE() << "the shell cannot load " << ToUtf8(file);
  }
  if (persist) persist->Release();
  link->Release();
  return out;
}

TEST(ShellLinkPlatform, ASavedShortcutReadsBackFromItsBytesAndThroughTheShell) {
  ComApartment com;
  ScratchFolder scratch;
  Win32Shell shell;
  Win32FileSystem fs;
  Win32CodePage code_page;
  const std::wstring target = scratch.At(L"报表\\VXKALDERAgent.exe");
  fs.CreateDirectory(scratch.At(L"报表"));
  fs.WriteFile(target, Bytes{'M', 'Z'});
  struct Case {
    const wchar_t* name;
    ShellLinkSpec link;
  };
  const Case cases[] = {
      {L"agent.lnk", {target, L"10.0.0.5 rpt  1", scratch.At(L"报表\\"), scratch.At(L"a.ico")}},
      {L"填报精灵.lnk", {target, L"", scratch.At(L"报表\\"), L""}},
  };
  for (const auto& c : cases) {
    const std::wstring file = scratch.At(c.name);
    ASSERT_TRUE(shell.SaveShellLink(file, c.link)) << ToUtf8(c.name);
    const auto bytes = ReadShellLinkFile(fs.ReadFile(file), code_page);
    ASSERT_TRUE(bytes) << "not a Shell Link file: " << ToUtf8(c.name);
    const ShellLinkRead through = LoadThroughTheShell(file);
    for (const ShellLinkRead* read : {&*bytes, &through}) {
      const char* how = read == &through ? "through the shell" : "from the bytes";
      EXPECT_TRUE(SameTextAscii(read->target, target)) << how << ": " << ToUtf8(read->target);
      EXPECT_EQ(read->arguments, c.link.arguments) << how;
      EXPECT_TRUE(SameTextAscii(read->working_folder, c.link.working_folder))
          << how << ": " << ToUtf8(read->working_folder);
      EXPECT_TRUE(SameTextAscii(read->icon_location, c.link.icon_path))
          << how << ": " << ToUtf8(read->icon_location);
    }
  }
  // A name that is no file name leaves no shortcut and reports it.
  EXPECT_FALSE(shell.SaveShellLink(scratch.At(L"no\\such\\folder\\x.lnk"), cases[0].link));
}

TEST(ShellLinkPlatform, TheShortcutStepMakesItsFiveFilesInTheUsersFolders) {
  ComApartment com;
  Win32Shell shell;
  Win32FileSystem fs;
  Win32Registry registry;
  Win32CodePage code_page;
  ShortcutSettings s;
  s.dest = L"C:\\Plan\\CLIENT";
  s.login_ip = L"10.0.0.5";
  CreateShortcuts(s, shell, fs, registry);
  const std::wstring programs = shell.FolderPath(SpecialFolder::StartMenuPrograms);
  const std::wstring desktop = shell.FolderPath(SpecialFolder::Desktop);
  struct Expect {
    std::wstring file, target, arguments;
  };
  // No language is bound in this program: the step's names are those of language A.
  const Expect expected[] = {
      {programs + L"\\Quillon客户端\\Quillon-Excel客户端.lnk", s.dest + L"\\SheetDesk.exe", L""},
      {desktop + L"\\Excel客户端.lnk", s.dest + L"\\SheetDesk.exe", L""},
      {programs + L"\\Quillon客户端\\Quillon-填报精灵.lnk", s.dest + L"\\VXKALDERAgent.exe",
       L"10.0.0.5"},
      {desktop + L"\\填报精灵.lnk", s.dest + L"\\VXKALDERAgent.exe", L"10.0.0.5"},
      {programs + L"\\Quillon客户端\\卸载 Quillon.lnk", s.dest + L"\\UnInstallClient_VXKALDER.exe",
       L""},
  };
  for (const auto& e : expected) {
    ASSERT_TRUE(fs.FileExists(e.file)) << ToUtf8(e.file);
    const ShellLinkRead read = LoadThroughTheShell(e.file);
    EXPECT_TRUE(SameTextAscii(read.target, e.target)) << ToUtf8(read.target);
    EXPECT_EQ(read.arguments, e.arguments);
    EXPECT_TRUE(SameTextAscii(read.working_folder, s.dest + L"\\")) << ToUtf8(read.working_folder);
    fs.DeleteFile(e.file);
  }
  EXPECT_EQ(ReadUserRegString(registry, kProductKey, L"ExcelAgentCaption"), L"填报精灵");
}

}  // namespace
}  // namespace quillon
