// The browser access tool on fakes: the console address, "URL.txt" in its encodings and
// lengths, the apply rules, and the installer's unseen use of it.
#include <gtest/gtest.h>

#include "base/text.h"
#include "server/unSetIE.h"
#include "support/installer_fixture.h"
#include "support/shell_link_reader.h"

namespace quillon {
namespace {

const std::wstring kDesktop = L"C:\\users\\user\\Desktop\\";

class BrowserAccess : public InstallerFixture {
 protected:
  BrowserToolServices Services() {
    return {env.app, env.files, env.code_page, env.shell, env.installer_dir};
  }
  std::vector<std::wstring> Texts() {
    std::vector<std::wstring> out;
    for (const auto& b : app.boxes) out.push_back(b.text);
    return out;
  }
  std::optional<ShellLinkRead> Link(const std::wstring& name) {
    const auto bytes = files->Contents(kDesktop + name + L".lnk");
    if (!bytes) return std::nullopt;
    return ReadShellLinkFile(*bytes, code_page);
  }
};

TEST_F(BrowserAccess, ConsoleAddressAndTextFileEncodings) {
  EXPECT_EQ(ConsoleAddress(L" 10.0.0.5 ", L" 8080 "), L"http://10.0.0.5:8080/VXKALDERWeb");
  EXPECT_EQ(ConsoleAddress(L"srv", L"  "), L"http://srv:80/VXKALDERWeb");

  const std::vector<std::wstring> want = {L"服务器", L"报表"};
  const std::string utf8 = "\xEF\xBB\xBF" + ToUtf8(L"服务器\r\n报表");
  Bytes utf16le = {0xFF, 0xFE}, utf16be = {0xFE, 0xFF};
  for (wchar_t c : std::wstring(L"服务器\n报表")) {
    utf16le.push_back(c & 0xFF);
    utf16le.push_back(c >> 8);
    utf16be.push_back(c >> 8);
    utf16be.push_back(c & 0xFF);
  }
  const std::string ansi = code_page.ToAnsi(L"服务器\r\n报表\r\n");
  for (const Bytes& b :
       {Bytes(utf8.begin(), utf8.end()), utf16le, utf16be, Bytes(ansi.begin(), ansi.end())}) {
    EXPECT_EQ(TextFileLines(b, code_page), want) << b.size();
  }
}

TEST_F(BrowserAccess, UrlFileFillsAppliesAndEndsTheProgram) {
  struct Case {
    const char* what;
    std::wstring text;  // content of URL.txt; empty: no file
    std::wstring ip, name, port;
    bool applied;  // completion message and end of the program
    const wchar_t* shortcut;
  };
  const Case cases[] = {
      {"no file", L"", L"", L"", L"", false, nullptr},
      {"one line", L"10.0.0.5\r\n", L"10.0.0.5", L"", L"", true, nullptr},
      {"two lines", L"10.0.0.5\r\n报表平台\r\n", L"10.0.0.5", L"报表平台", L"", true, L"报表平台"},
      {"three lines and more", L" 10.0.0.5 \r\n 报表 \r\n 8080 \r\nignored\r\n", L" 10.0.0.5 ",
       L" 报表 ", L" 8080 ", true, L"报表"},
      {"empty first line", L"\r\nname\r\n", L"", L"name", L"", false, nullptr},
  };
  for (const auto& c : cases) {
    Reset();
    if (!c.text.empty()) files->AddFile(L"C:\\setup\\URL.txt", code_page.ToAnsi(c.text));
    TForm1 tool(Services());
    tool.FormCreate();
    EXPECT_EQ(tool.edIP->text(), c.ip) << c.what;
    EXPECT_EQ(tool.edIE->text(), c.name) << c.what;
    EXPECT_EQ(tool.edPort->text(), c.port) << c.what;
    EXPECT_EQ(app.terminate_requested(), c.applied) << c.what;
    EXPECT_EQ(Texts(), c.applied ? std::vector<std::wstring>{L"设置完成,请关闭IE然后重新登录！"}
                                 : std::vector<std::wstring>{})
        << c.what;
    if (c.applied) {
      EXPECT_EQ(app.boxes[0].icon, MsgIcon::None);
      EXPECT_EQ(app.boxes[0].caption, app.Title());
    }
    EXPECT_EQ(shell->links.size(), c.shortcut ? 1u : 0u) << c.what;
    if (c.shortcut) {
      const auto link = Link(c.shortcut);
      ASSERT_TRUE(link) << c.what;
      EXPECT_EQ(link->target, kInternetExplorer);
      EXPECT_EQ(link->working_folder, L"C:\\Program Files\\Internet Explorer\\");
      EXPECT_EQ(link->arguments, ConsoleAddress(c.ip, c.port));
    }
  }
}

TEST_F(BrowserAccess, ApplyRules) {
  struct Case {
    bool checked;
    const wchar_t *ip, *name;
    const wchar_t* message;  // or nullptr
    bool closed, shortcut;
  };
  const Case cases[] = {
      {true, L"srv", L"  ", L"请输入有效快捷方式名称！", false, false},
      {false, L"  ", L"web", nullptr, false, false},
      {false, L"srv", L"web", nullptr, true, true},  // unticked, a name still gives a shortcut
      {false, L"srv", L"", nullptr, true, false},
  };
  for (const auto& c : cases) {
    Reset();
    TForm1 tool(Services());
    tool.chkIE->SetChecked(c.checked);
    tool.edIP->SetText(c.ip);
    tool.edIE->SetText(c.name);
    tool.Button1->Click();
    EXPECT_EQ(Texts(),
              c.message ? std::vector<std::wstring>{c.message} : std::vector<std::wstring>{});
    EXPECT_EQ(tool.closed(), c.closed) << ToUtf8(c.ip) << "|" << ToUtf8(c.name);
    EXPECT_EQ(shell->links.size(), c.shortcut ? 1u : 0u);
  }
}

TEST_F(BrowserAccess, TheCheckBoxEnablesNameAndPort) {
  TForm1 tool(Services());
  EXPECT_FALSE(tool.edIE->enabled());
  tool.chkIE->Click();
  for (ui::Control* c :
       {static_cast<ui::Control*>(tool.edIE), static_cast<ui::Control*>(tool.labIE),
        static_cast<ui::Control*>(tool.labPort), static_cast<ui::Control*>(tool.edPort)}) {
    EXPECT_TRUE(c->enabled()) << ToUtf8(c->name());
  }
  tool.chkIE->Click();
  EXPECT_FALSE(tool.edPort->enabled());
}

TEST_F(BrowserAccess, TheInstallerDrivesTheToolUnseenAfterTheBatchFile) {
  struct Case {
    const char* config;
    bool shortcut;
  };
  const Case cases[] = {
      {"[Setup]\r\nAutoSetIE=1\r\nIPForSetIE=10.0.0.5\r\nPortForSetIE=8080\r\n"
       "CreateShortCutForIE=1\r\nShortCutNameForIE=Web\r\n",
       true},
      // The name is read only with the shortcut asked for.
      {"[Setup]\r\nAutoSetIE=1\r\nIPForSetIE=10.0.0.5\r\nShortCutNameForIE=Web\r\n", false},
  };
  for (const auto& c : cases) {
    Reset();
    files->AddFile(L"C:\\setup\\SysSetup.ini", std::string(c.config));
    auto f = CreateAndShow();
    ASSERT_EQ(processes.started.size(), 1u) << c.config;
    EXPECT_EQ(processes.started[0].program, L"C:\\setup\\安装证书.bat");
    EXPECT_EQ(shell->links.size(), c.shortcut ? 1u : 0u) << c.config;
    if (c.shortcut) {
      EXPECT_EQ(Link(L"Web")->arguments, L"http://10.0.0.5:8080/VXKALDERWeb");
    }
    EXPECT_FALSE(app.terminate_requested());
  }
}

}  // namespace
}  // namespace quillon
