// The shortcut step on fakes: names in the three languages and with reseller names or
// configured captions, the login arguments, the five files read back from their Shell Link
// bytes, the caption values, and the failure rules.
#include "config/shortcuts.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "base/text.h"
#include "config/unReg_File.h"
#include "formats/shell_link_writer.h"
#include "support/installer_fixture.h"
#include "support/shell_link_reader.h"

namespace quillon {
namespace {

const std::wstring kPrograms =
    L"C:\\users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\";
const std::wstring kDesktop = L"C:\\users\\user\\Desktop\\";

class Shortcuts : public InstallerFixture {
 protected:
  void Language(const wchar_t* code) {
    registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", code);
    InvalidateLanguage();
  }
  std::optional<ShellLinkRead> Link(const std::wstring& path) {
    const auto bytes = files->Contents(path);
    if (!bytes) return std::nullopt;
    return ReadShellLinkFile(*bytes, code_page);
  }
  // Every .lnk file under the two folders, as paths below them.
  std::vector<std::wstring> LinkFiles() {
    std::vector<std::wstring> out;
    for (const auto& p : files->ListAll()) {
      if (p.size() > 4 && UpperAscii(p.substr(p.size() - 4)) == L".LNK") {
        out.push_back(p.rfind(kPrograms, 0) == 0 ? p.substr(kPrograms.size())
                                                 : L"desktop:" + p.substr(kDesktop.size()));
      }
    }
    return out;
  }
  void Run() { CreateShortcuts(s, *shell, *files, registry); }
  std::wstring Caption(const wchar_t* name) {
    return ReadUserRegString(registry, kProductKey, name);
  }

  ShortcutSettings s = [] {
    ShortcutSettings settings;
    settings.dest = L"D:\\Q\\CLIENT";
    return settings;
  }();
};

TEST_F(Shortcuts, NamesFollowTheLanguageTheResellerNamesAndTheCaptions) {
  struct Case {
    const wchar_t* lang;
    std::wstring oem, oem2, caption_client, caption_agent;
    ShortcutNames names;
  };
  const Case cases[] = {
      {L"A",
       L"",
       L"",
       L"",
       L"",
       {L"Quillon客户端", L"Quillon-Excel客户端", L"Excel客户端", L"Quillon-填报精灵", L"填报精灵",
        L"卸载 Quillon"}},
      {L"B",
       L"",
       L"",
       L"",
       L"",
       {L"Quillon用戶端", L"Quillon-Excel用戶端", L"Excel用戶端", L"Quillon-填報精靈", L"填報精靈",
        L"卸載 Quillon"}},
      {L"C",
       L"",
       L"",
       L"",
       L"",
       {L"Quillon Client", L"Quillon-Excel Client", L"Excel Client", L"Quillon-Report Agent",
        L"Report Agent", L"UnInstall Quillon"}},
      {L"x",
       L"智表",
       L"",
       L"",
       L"",
       {L"智表 Client", L"智表-Excel Client", L"Excel Client", L"智表-Report Agent",
        L"Report Agent", L"UnInstall 智表"}},
      {L"A",
       L"",
       L"小助手",
       L"报表",
       L"助手",
       {L"Quillon客户端", L"报表", L"报表", L"助手", L"助手", L"卸载 Quillon"}},
      {L"A",
       L"智表",
       L"小助手",
       L"",
       L"",
       {L"智表客户端", L"智表-Excel客户端", L"Excel客户端", L"智表-小助手", L"小助手",
        L"卸载 智表"}},
  };
  for (const auto& c : cases) {
    Language(c.lang);
    s.oem_name = c.oem;
    s.oem_agent_name = c.oem2;
    s.caption_client = c.caption_client;
    s.caption_agent = c.caption_agent;
    const ShortcutNames n = NamesOfShortcuts(s);
    const std::wstring what = std::wstring(c.lang) + L" " + c.oem + L" " + c.oem2;
    EXPECT_EQ(n.group, c.names.group) << ToUtf8(what);
    EXPECT_EQ(n.client_in_group, c.names.client_in_group) << ToUtf8(what);
    EXPECT_EQ(n.client_on_desktop, c.names.client_on_desktop) << ToUtf8(what);
    EXPECT_EQ(n.agent_in_group, c.names.agent_in_group) << ToUtf8(what);
    EXPECT_EQ(n.agent_on_desktop, c.names.agent_on_desktop) << ToUtf8(what);
    EXPECT_EQ(n.uninstall, c.names.uninstall) << ToUtf8(what);
  }
}

TEST_F(Shortcuts, LoginArguments) {
  struct Case {
    const wchar_t *ip, *db;
    bool no_ip, no_db;
    const wchar_t* arguments;
  };
  const Case cases[] = {
      {L"10.0.0.1", L"rpt", false, false, L"10.0.0.1 rpt"},
      {L"10.0.0.1", L"", true, false, L"10.0.0.1  1"},
      {L"", L"", true, true, L"1 1"},
      {L"", L"", false, false, L""},
      {L"", L"rpt", false, true, L"rpt  1"},
  };
  for (const auto& c : cases) {
    s.login_ip = c.ip;
    s.login_db = c.db;
    s.no_display_login_ip = c.no_ip;
    s.no_display_login_db = c.no_db;
    EXPECT_EQ(LoginArguments(s), c.arguments) << ToUtf8(c.ip) << "|" << ToUtf8(c.db);
  }
}

TEST_F(Shortcuts, FiveFilesWithTheirTargetsArgumentsFoldersAndIcons) {
  s.login_ip = L"10.0.0.1";
  s.login_db = L"rpt";
  s.icon_client = L"D:\\Q\\CLIENT\\client.ico";
  Run();
  EXPECT_EQ(LinkFiles(), (std::vector<std::wstring>{
                             L"Quillon客户端\\Quillon-Excel客户端.lnk",
                             L"Quillon客户端\\Quillon-填报精灵.lnk",
                             L"Quillon客户端\\卸载 Quillon.lnk",
                             L"desktop:Excel客户端.lnk",
                             L"desktop:填报精灵.lnk",
                         }));
  struct Expect {
    std::wstring file, target, arguments, icon;
  };
  const Expect expected[] = {
      {kPrograms + L"Quillon客户端\\Quillon-Excel客户端.lnk", L"D:\\Q\\CLIENT\\SheetDesk.exe", L"",
       s.icon_client},
      {kDesktop + L"Excel客户端.lnk", L"D:\\Q\\CLIENT\\SheetDesk.exe", L"", s.icon_client},
      {kPrograms + L"Quillon客户端\\Quillon-填报精灵.lnk", L"D:\\Q\\CLIENT\\VXKALDERAgent.exe",
       L"10.0.0.1 rpt", L""},
      {kDesktop + L"填报精灵.lnk", L"D:\\Q\\CLIENT\\VXKALDERAgent.exe", L"10.0.0.1 rpt", L""},
      {kPrograms + L"Quillon客户端\\卸载 Quillon.lnk",
       L"D:\\Q\\CLIENT\\UnInstallClient_VXKALDER.exe", L"", L""},
  };
  ASSERT_EQ(shell->links.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    const Expect& e = expected[i];
    EXPECT_EQ(shell->links[i].first, e.file) << "made in the order of the table";
    const auto link = Link(e.file);
    ASSERT_TRUE(link) << ToUtf8(e.file);
    EXPECT_EQ(link->target, e.target);
    EXPECT_EQ(link->arguments, e.arguments);
    EXPECT_EQ(link->working_folder, L"D:\\Q\\CLIENT\\");
    EXPECT_EQ(link->icon_location, e.icon);
  }
  EXPECT_EQ(Caption(L"ExcelClientCaption"), L"Excel客户端");
  EXPECT_EQ(Caption(L"ExcelAgentCaption"), L"填报精灵");
}

TEST_F(Shortcuts, SkippedShortcutsLeaveTheirCaptionValuesAlone) {
  registry.SetString(RootKey::CurrentUser, kProductKey, L"ExcelClientCaption", L"earlier");
  s.no_client = true;
  s.no_agent = true;
  Run();
  EXPECT_EQ(LinkFiles(), (std::vector<std::wstring>{L"Quillon客户端\\卸载 Quillon.lnk"}));
  EXPECT_EQ(Caption(L"ExcelClientCaption"), L"earlier");
  EXPECT_FALSE(registry.Get(RootKey::CurrentUser, kProductKey, L"ExcelAgentCaption"));
}

TEST_F(Shortcuts, AShortcutThatCannotBeSavedIsLeftOutAndTheStepGoesOn) {
  // A caption with "\" names a folder nobody makes: both client shortcuts are missing.
  s.caption_client = L"Reports\\Client";
  Run();
  EXPECT_EQ(LinkFiles(), (std::vector<std::wstring>{
                             L"Quillon客户端\\Quillon-填报精灵.lnk",
                             L"Quillon客户端\\卸载 Quillon.lnk",
                             L"desktop:填报精灵.lnk",
                         }));
  EXPECT_EQ(Caption(L"ExcelClientCaption"), L"Reports\\Client");

  // A program group that cannot be made: the desktop shortcuts still come.
  Reset();
  shell->links.clear();
  files->SetReadOnly(kPrograms);
  s.caption_client.clear();
  Run();
  EXPECT_EQ(LinkFiles(),
            (std::vector<std::wstring>{L"desktop:Excel客户端.lnk", L"desktop:填报精灵.lnk"}));
}

TEST_F(Shortcuts, AMissingLinkObjectStopsTheStep) {
  shell->link_object_available = false;
  EXPECT_THROW(Run(), Error);
  EXPECT_TRUE(LinkFiles().empty());
  EXPECT_FALSE(registry.Get(RootKey::CurrentUser, kProductKey, L"ExcelClientCaption"));
}

TEST_F(Shortcuts, TheReaderRefusesWhatIsNoShortcut) {
  const std::vector<uint8_t> empty;
  EXPECT_FALSE(ReadShellLinkFile(empty, code_page));
  std::vector<uint8_t> bytes = WriteShellLinkFile({L"C:\\a.exe", L"x", L"C:\\", L"", 0}, code_page);
  ASSERT_TRUE(ReadShellLinkFile(bytes, code_page));
  for (size_t cut : {size_t{0x4C}, size_t{0x60}, bytes.size() - 6}) {
    std::vector<uint8_t> shorter(bytes.begin(), bytes.begin() + cut);
    EXPECT_FALSE(ReadShellLinkFile(shorter, code_page)) << cut;
  }
  bytes[4] ^= 1;
  EXPECT_FALSE(ReadShellLinkFile(bytes, code_page)) << "not the link class";
}

}  // namespace
}  // namespace quillon
