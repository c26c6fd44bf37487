// Runs started by deployment tools: the switches on the real start of the program over the
// fakes, from the command line to the exit code, with the log they leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/installer_main.h"
#include "config/unReg_File.h"
#include "platform/fake/fake_instance_lock.h"
#include "platform/fake/fake_log_output.h"
#include "support/installer_fixture.h"

namespace quillon {
namespace {

const std::wstring kLog = L"C:\\logs\\q.log";

class UnattendedRun : public InstallerFixture {
 protected:
  // The base fixture's constructor runs its own Reset only.
  UnattendedRun() { Reset(); }
  void Reset() override {
    InstallerFixture::Reset();
    out = FakeLogOutput();
    env.log_output = &out;
    lock = std::make_unique<FakeInstanceLock>();
    env.instance_lock = lock.get();
    env.program_file = L"C:\\setup\\QuillonSetup.exe";
    // The message loop's part: the command-line timer fires once the form is shown.
    app.after_show = [](ui::Form& f) {
      auto& form = static_cast<TfrmClientInstall&>(f);
      if (form.Timer1->timer_enabled()) form.Timer1->Fire();
    };
  }

  int Run(std::vector<std::wstring> args) {
    env.args = std::move(args);
    return RunInstaller(env);
  }

  // The log's lines without their times.
  std::vector<std::string> LogEvents(const std::wstring& path = kLog) {
    std::vector<std::string> events;
    for (const std::string& line : out.Lines(path)) events.push_back(line.substr(25));
    return events;
  }
  bool Logged(const std::string& text, const std::wstring& path = kLog) {
    for (const std::string& e : LogEvents(path)) {
      if (e.find(text) != std::string::npos) return true;
    }
    return false;
  }
  std::string LogText() {
    std::string all;
    for (const std::string& e : LogEvents()) all += e + "\n";
    return all;
  }
  std::wstring UserValue(const std::wstring& name) {
    auto v = registry.Get(RootKey::CurrentUser, kProductKey, name);
    return v ? v->text : L"(none)";
  }

  FakeLogOutput out;
  std::unique_ptr<FakeInstanceLock> lock;
};

// What an install leaves: every file and folder, and every value of the three hives.
std::vector<std::wstring> Machine(FakeFileSystem& files, FakeRegistry& registry) {
  std::vector<std::wstring> all = files.ListAll();
  for (RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::LocalMachine64}) {
    for (const auto& e : registry.All(root)) {
      all.push_back(IntToText(static_cast<int>(root)) + L" " + e.path + L" " + e.name + L"=" +
                    e.value.text);
    }
  }
  return all;
}

TEST_F(UnattendedRun, VerySilentLeavesWhatAnInteractiveInstallLeavesAndLogsIt) {
  // The interactive install, driven as a person drives it.
  {
    auto form = CreateAndShow();
    form->btnNext->Click();
    form->radAgree->Click();
    form->btnNext->Click();
    form->btnNext->Click();  // the create question is answered Yes
    ASSERT_EQ(form->pcMain->active_page_index(), 7);
    form->btnOK->Click();
    ASSERT_EQ(form->exit_code(), 0);
  }
  const std::vector<std::wstring> interactive = Machine(*files, registry);
  const size_t links = shell->links.size();

  Reset();
  EXPECT_EQ(Run({L"/VERYSILENT", L"/LOG=" + kLog}), 0);
  EXPECT_TRUE(app.boxes.empty()) << "a box was shown";
  EXPECT_EQ(Machine(*files, registry), interactive);
  EXPECT_EQ(shell->links.size(), links);

  EXPECT_TRUE(Logged("QuillonSetup 1.")) << LogText();
  EXPECT_TRUE(Logged("command line: C:\\setup\\QuillonSetup.exe /VERYSILENT /LOG=C:\\logs\\q.log"));
  EXPECT_TRUE(Logged("language A, ANSI code page GBK"));
  EXPECT_TRUE(Logged("destination C:\\Tovrin\\CLIENT: the installer's default"));
  EXPECT_TRUE(Logged("file written: C:\\Tovrin\\CLIENT\\modCalc.dll, 4 bytes")) << LogText();
  EXPECT_TRUE(Logged("file written: C:\\Tovrin\\CLIENT\\License.txt"));
  EXPECT_TRUE(Logged("step done: install procedure, "));
  EXPECT_TRUE(
      Logged("registry value written: HKEY_CURRENT_USER\\SoftWare\\Tovrin\\ CLIENTPart = "
             "\"C:\\Tovrin\\CLIENT\""))
      << LogText();
  EXPECT_TRUE(Logged("shortcut saved: "));
  EXPECT_TRUE(Logged("Finish: the install is recorded"));
  EXPECT_EQ(LogEvents().back(), "exit code 0");
}

TEST_F(UnattendedRun, EndsByItselfWithTheCodeOfWhatStoppedIt) {
  struct Case {
    const char* name;
    std::function<void()> setup;
    std::vector<std::wstring> args;
    int code;
    const char* logged;
  };
  const std::vector<Case> cases = {
      {"no Excel", [this] { automation.progid.clear(); }, {L"/VERYSILENT"}, 1, "请先安装 Excel ！"},
      {"held file",
       [this] {
         files->AddFile(L"C:\\Tovrin\\CLIENT\\modCalc.dll", std::string("old"));
         files->Lock(L"C:\\Tovrin\\CLIENT\\modCalc.dll");
       },
       {L"/VERYSILENT"},
       3,
       "有文件正在使用,请重启机器后,再重新安装！"},
      {"folder cannot be made",
       [] {},
       {L"/VERYSILENT", L"/DIR=Q:\\Quillon"},
       7,
       "文件夹 Q:\\Quillon 不能创建！"},
      {"malformed folder",
       [] {},
       {L"/SUPPRESSMSGBOXES", L"/SILENT", L"/DIR=\\\\srv\\q"},
       7,
       "结构有误"},
      {"role's folder cannot be made",
       [] {},
       {L"CLIENT", L"Q:\\Base", L"/VERYSILENT"},
       7,
       "文件夹 Q:\\Base\\CLIENT 不能创建！"},
  };
  for (const Case& c : cases) {
    Reset();
    c.setup();
    std::vector<std::wstring> args = c.args;
    args.push_back(L"/LOG=" + kLog);
    EXPECT_EQ(Run(args), c.code) << c.name << "\n" << LogText();
    EXPECT_TRUE(app.boxes.empty()) << c.name;
    EXPECT_TRUE(Logged(c.logged)) << c.name << "\n" << LogText();
    EXPECT_TRUE(Logged("answered by the installer")) << c.name;
    EXPECT_EQ(LogEvents().back(), "exit code " + std::to_string(c.code)) << c.name;
    EXPECT_EQ(UserValue(L"CLIENTPart"), L"(none)") << c.name;
    EXPECT_EQ(UserValue(L"sLastUpdateTime"), L"(none)") << c.name;
  }
}

TEST_F(UnattendedRun, SecondCopyTouchesNothingAndSaysSo) {
  struct Case {
    std::vector<std::wstring> args;
    bool box;
  };
  const Case cases[] = {{{}, true},
                        {{L"/VERYSILENT", L"/LOG=" + kLog}, false},
                        {{L"/SILENT", L"/LOG=" + kLog, L"/LANG=C"}, false}};
  for (const Case& c : cases) {
    Reset();
    FakeInstanceLock first;
    ASSERT_TRUE(first.TryTake());
    FakeInstanceLock second(first);
    env.instance_lock = &second;
    const std::vector<std::wstring> before = Machine(*files, registry);
    EXPECT_EQ(Run(c.args), 6);
    EXPECT_EQ(Machine(*files, registry), before) << "the second copy changed something";
    EXPECT_FALSE(app.ran_main_form);
    ASSERT_EQ(app.boxes.size(), c.box ? 1u : 0u);
    if (c.box) {
      EXPECT_NE(app.boxes[0].text.find(L"已有一个安装程序正在运行"), std::wstring::npos);
    } else {
      EXPECT_TRUE(Logged("not installed: ")) << LogText();
    }
  }
  // Once the first copy has ended, the next one runs.
  Reset();
  {
    FakeInstanceLock first;
    ASSERT_TRUE(first.TryTake());
  }
  EXPECT_EQ(Run({L"/VERYSILENT"}), 0);
}

TEST_F(UnattendedRun, DirWinsOverTheConfigurationAndARecordedInstall) {
  struct Case {
    std::vector<std::wstring> args;
    const wchar_t* dest;
  };
  const Case cases[] = {
      {{L"/VERYSILENT", L"/DIR=C:\\Chosen\\"}, L"C:\\Chosen"},
      // The destination page's rules still apply: "\COM+" for the COM role.
      {{L"COM", L"/VERYSILENT", L"/DIR=C:\\Chosen"}, L"C:\\Chosen\\COM+"},
      // A role without a base folder takes the folder as typed.
      {{L"/DIR=C:\\Chosen", L"CLIENT", L"/VERYSILENT"}, L"C:\\Chosen"},
  };
  for (const Case& c : cases) {
    Reset();
    files->AddFile(L"C:\\setup\\SysSetup.ini", std::string("[Setup]\r\nDEFAULT_PATH=C:\\Cfg\r\n"));
    registry.SetString(RootKey::CurrentUser, kProductKey, L"CLIENTPart", L"C:\\Old\\CLIENT");
    EXPECT_EQ(Run(c.args), 0) << c.dest;
    EXPECT_EQ(UserValue(L"CLIENTPart"), c.dest);
    EXPECT_TRUE(files->FileExists(std::wstring(c.dest) + L"\\modCalc.dll")) << c.dest;
    EXPECT_FALSE(files->DirectoryExists(L"C:\\Cfg")) << c.dest;
  }
  // Without /DIR the recorded install wins, as before.
  Reset();
  files->AddFile(L"C:\\setup\\SysSetup.ini", std::string("[Setup]\r\nDEFAULT_PATH=C:\\Cfg\r\n"));
  registry.SetString(RootKey::CurrentUser, kProductKey, L"CLIENTPart", L"C:\\Old\\CLIENT");
  EXPECT_EQ(Run({L"/VERYSILENT", L"/LOG"}), 0);
  EXPECT_EQ(UserValue(L"CLIENTPart"), L"C:\\Old\\CLIENT");
  // /LOG alone: a file in the temporary folder named by program and start time.
  const std::wstring temp_log =
      L"C:\\Users\\User\\AppData\\Local\\Temp\\QuillonSetup_20240501_093012.log";
  EXPECT_TRUE(Logged("destination C:\\Old\\CLIENT: the recorded install (CLIENTPart)", temp_log));
  EXPECT_TRUE(Logged("configuration line: DEFAULT_PATH=C:\\Cfg", temp_log));
}

TEST_F(UnattendedRun, RoleWithSwitchesKeepsItsBaseFolder) {
  files->AddDrive(L"D:");
  EXPECT_EQ(Run({L"CLIENT", L"D:\\Base", L"/VERYSILENT", L"/LOG=" + kLog}), 0);
  EXPECT_EQ(UserValue(L"CLIENTPart"), L"D:\\Base\\CLIENT");
  EXPECT_TRUE(files->FileExists(L"D:\\Base\\CLIENT\\License.txt"));
  EXPECT_TRUE(Logged("destination D:\\Base\\CLIENT: the launch role's base folder"));
}

TEST_F(UnattendedRun, LanguageSwitchIsStoredAsTheLanguageBoxStoresIt) {
  EXPECT_EQ(Run({L"/VERYSILENT", L"/LANG=c"}), 0);
  EXPECT_EQ(UserValue(L"CurLang"), L"C");
  EXPECT_EQ(app.Title(), L"Quillon Client Setup");
}

TEST_F(UnattendedRun, HelpAndWrongUsageListTheSwitchesAndTouchNothing) {
  struct Case {
    std::vector<std::wstring> args;
    const wchar_t* stored_lang;
    int code;
    const wchar_t* first_line;
    const wchar_t* listed;
  };
  const Case cases[] = {
      {{L"/?"}, L"", 4, L"QuillonSetup.exe [CLIENT", L"/VERYSILENT\t同上，但不显示任何窗口"},
      {{L"/HELP"}, L"B", 4, L"QuillonSetup.exe [CLIENT", L"6\t已有安裝程式在執行"},
      {{L"CLIENT", L"/LANG=C", L"/help"},
       L"",
       4,
       L"QuillonSetup.exe [CLIENT",
       L"7\tdestination folder wrong or cannot be made"},
      {{L"/FOO", L"/LANG=C"}, L"", 5, L"Unknown switch: /FOO", L"5\twrong command line"},
      {{L"/LANG=X"}, L"", 5, L"语言只能是 A、B 或 C：/LANG=X", L"/LANG=A|B|C"},
      {{L"WEB", L"D:\\B", L"/DIR=C:\\Q", L"/LANG=B"},
       L"",
       5,
       L"啟動角色已給出基礎資料夾，不能再用 /DIR：/DIR=C:\\Q",
       L"/DIR=資料夾"},
  };
  for (const Case& c : cases) {
    Reset();
    if (*c.stored_lang)
      registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", c.stored_lang);
    const int writes = registry.write_count();
    const std::vector<std::wstring> before = files->ListAll();
    EXPECT_EQ(Run(c.args), c.code) << c.first_line;
    EXPECT_FALSE(app.ran_main_form);
    EXPECT_EQ(registry.write_count(), writes) << c.first_line;
    EXPECT_EQ(files->ListAll(), before);
    ASSERT_EQ(app.boxes.size(), 1u) << c.first_line;
    EXPECT_EQ(app.boxes[0].text.rfind(c.first_line, 0), 0u) << ToUtf8(app.boxes[0].text);
    EXPECT_NE(app.boxes[0].text.find(c.listed), std::wstring::npos) << ToUtf8(app.boxes[0].text);
    EXPECT_EQ(app.boxes[0].icon, MsgIcon::Information);
  }
}

TEST_F(UnattendedRun, UnwritableLogDoesNotStopTheInstall) {
  out.refuse_open.insert(kLog);
  EXPECT_EQ(Run({L"/VERYSILENT", L"/LOG=" + kLog}), 0);
  EXPECT_EQ(out.standard_error.size(), 1u);
  EXPECT_EQ(UserValue(L"CLIENTPart"), L"C:\\Tovrin\\CLIENT");
}

}  // namespace
}  // namespace quillon
