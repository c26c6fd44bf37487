// The wizard's page machine on the form model: button states and visibility, Next and Back
// with their page rules, the install sequence and its failures, Finish and what it records,
// silent mode and the launch roles, the small page handlers.
#include <gtest/gtest.h>

#include <functional>

#include "config/unReg_File.h"
#include "support/installer_fixture.h"

namespace quillon {
namespace {

const std::wstring kDest = L"C:\\Tovrin\\CLIENT";

class WizardPages : public InstallerFixture {
 public:
  void Idle() { app.Idle(); }
  FakeFileSystem& Files() { return *files; }
  FakeAutomation& Excel() { return automation; }
  // A press as the window delivers it: an error ends the event in the standard error box.
  void Press(ui::Button* button) {
    app.HandleEvent([button] { button->Click(); });
  }
  int Page(TfrmClientInstall& f) { return f.pcMain->active_page_index(); }
  std::wstring UserValue(const wchar_t* name) {
    return ReadUserRegString(registry, kProductKey, name);
  }
  // Welcome -> licence (accepted) -> destination, through the buttons.
  void ToDestination(TfrmClientInstall& f) {
    f.btnNext->Click();
    f.radAgree->Click();
    f.btnNext->Click();
    ASSERT_EQ(Page(f), 2);
  }
  // The visible buttons, in the order Back, Next, Cancel, Finish.
  std::string Shown(TfrmClientInstall& f) {
    std::string s;
    for (ui::Button* b : {f.btnPrior, f.btnNext, f.btnCancel, f.btnOK})
      s += b->visible() ? "1" : "0";
    return s;
  }
};

TEST_F(WizardPages, ButtonStatesFollowThePageAndItsInputs) {
  auto f = CreateAndShow();
  Idle();
  EXPECT_FALSE(f->btnPrior->enabled()) << "Back on Welcome";
  EXPECT_TRUE(f->btnNext->enabled());
  EXPECT_FALSE(f->btnOK->enabled());
  EXPECT_EQ(Shown(*f), "1110");

  f->btnNext->Click();
  ASSERT_EQ(Page(*f), 1);
  Idle();
  EXPECT_TRUE(f->btnPrior->enabled());
  EXPECT_FALSE(f->btnNext->enabled()) << "the agreement is not accepted yet";
  f->radAgree->Click();
  Idle();
  EXPECT_TRUE(f->btnNext->enabled());
  f->radNoAgree->Click();
  Idle();
  EXPECT_FALSE(f->btnNext->enabled());
  f->radAgree->Click();
  f->btnNext->Click();

  ASSERT_EQ(Page(*f), 2);
  for (const wchar_t* text : {L"", L"   ", L"\t"}) {
    f->edDir->SetText(text);
    Idle();
    EXPECT_FALSE(f->btnNext->enabled()) << "box holds \"" << ToUtf8(text) << "\"";
  }
  f->edDir->SetText(L" D:\\x");
  Idle();
  EXPECT_TRUE(f->btnNext->enabled());
}

TEST_F(WizardPages, AnInteractiveInstallReachesFinishedAndFinishRecordsIt) {
  auto f = CreateAndShow();
  ToDestination(*f);
  EXPECT_EQ(f->edDir->text(), kDest);
  f->btnNext->Click();

  ASSERT_EQ(Page(*f), 7);
  ASSERT_EQ(app.boxes.size(), 1u) << "only the create question";
  EXPECT_EQ(app.boxes[0].text, L"文件夹 C:\\Tovrin\\CLIENT 不存在,是否创建?");
  EXPECT_TRUE(files->FileExists(kDest + L"\\modCalc.dll"));
  EXPECT_EQ(UserValue(L"sLastUpdateTime"), L"20150527213310640");
  EXPECT_EQ(UserValue(L"ExcelClientCaption"), L"Excel客户端") << "the shortcut step ran";
  EXPECT_EQ(shell->links.size(), 5u);
  EXPECT_EQ(app.beeps, 1);
  EXPECT_EQ(f->labMain->caption(), L"安装完成");
  EXPECT_EQ(f->labDetail->caption(), L"");
  EXPECT_EQ(Shown(*f), "0001");
  Idle();
  EXPECT_TRUE(f->btnOK->enabled());
  EXPECT_FALSE(f->closed()) << "Finished waits for Finish";
  EXPECT_TRUE(UserValue(L"CLIENTPart").empty()) << "nothing recorded before Finish";

  f->btnOK->Click();
  EXPECT_TRUE(f->closed());
  EXPECT_EQ(UserValue(L"CLIENTPart"), kDest);
  EXPECT_EQ(UserValue(L"OnlyRunInIE"), L"0");
  EXPECT_EQ(UserValue(L"LoginMenuCaption"), L"");
  EXPECT_FALSE(registry.KeyExists(RootKey::LocalMachine, kProductKey)) << "no ALLSetup";
  const std::string licence = code_page.ToAnsi(f->Memo1->text());
  EXPECT_EQ(files->Text(kDest + L"\\License.txt"), licence);
  EXPECT_NE(licence.find("\r\n"), std::string::npos);
}

TEST_F(WizardPages, TheInstallRegistersTheAddInsForTheOfficeVersionsPresent) {
  const std::wstring options = L"Software\\Microsoft\\Office\\16.0\\Excel\\Options";
  registry.SetString(RootKey::CurrentUser, options, L"Font", L"Arial");
  auto f = CreateAndShow();
  ToDestination(*f);
  f->btnNext->Click();
  ASSERT_EQ(Page(*f), 7);
  EXPECT_EQ(registry.Get(RootKey::CurrentUser, options, L"OPEN")->text,
            L"\"C:\\Tovrin\\CLIENT\\VXFunction.xla\"");
  const std::wstring addin = L"SOFTWARE\\Microsoft\\Office\\Excel\\Addins\\modHook.Office_Addin";
  EXPECT_EQ(registry.Get(RootKey::CurrentUser, addin, L"FriendlyName")->text,
            f->sClientName_Ribbon);
  EXPECT_EQ(f->sClientName_Ribbon, L" Quillon ");
}

TEST_F(WizardPages, FinishWritesTheConfiguredLoginMenuAndTheLicenceOfTheLanguageInUse) {
  files->AddFile(L"C:\\setup\\SysSetup.ini",
                 code_page.ToAnsi(L"[Setup]\r\nNoLoginMenu=1\r\nLoginMenuCaption=报表登录\r\n"));
  registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", L"C");
  auto f = CreateAndShow();
  ToDestination(*f);
  f->btnNext->Click();
  ASSERT_EQ(Page(*f), 7);
  f->btnOK->Click();
  EXPECT_EQ(UserValue(L"OnlyRunInIE"), L"1");
  EXPECT_EQ(UserValue(L"LoginMenuCaption"), L"报表登录");
  const std::string licence = *files->Text(L"C:\\Tovrin\\CLIENT\\License.txt");
  EXPECT_EQ(licence, code_page.ToAnsi(f->Memo1->text()));
  EXPECT_NE(licence.find("agreement"), std::string::npos) << "the English licence";
}

TEST_F(WizardPages, DestinationTextBecomesTheInstallFolder) {
  struct Case {
    std::vector<std::wstring> args;
    const wchar_t* box;        // typed into the destination box
    const wchar_t* box_after;  // what the box shows after Next
    const wchar_t* dest;       // sDestDir, recorded by Finish
    const wchar_t* licence;    // where the licence file lands
  };
  const Case cases[] = {
      {{}, L"D:\\App", L"D:\\App", L"D:\\App", L"D:\\App\\License.txt"},
      {{}, L"D:\\App\\", L"D:\\App", L"D:\\App", L"D:\\App\\License.txt"},
      // Two trailing backslashes lose only the last; the licence path drops the doubling.
      {{}, L"D:\\App\\\\", L"D:\\App\\", L"D:\\App\\", L"D:\\App\\License.txt"},
      {{L"COM"}, L"D:\\Srv\\", L"D:\\Srv", L"D:\\Srv\\COM+", L"D:\\Srv\\COM+\\License.txt"},
  };
  for (const auto& c : cases) {
    Reset();
    files->AddDrive(L"D:");
    env.args = c.args;
    auto f = CreateAndShow();
    ToDestination(*f);
    f->edDir->SetText(c.box);
    f->btnNext->Click();
    EXPECT_EQ(f->edDir->text(), c.box_after) << ToUtf8(c.box);
    EXPECT_EQ(f->sDestDir, c.dest) << ToUtf8(c.box);
    ASSERT_EQ(Page(*f), 7) << ToUtf8(c.box);
    if (!f->closed()) f->btnOK->Click();
    EXPECT_EQ(UserValue(L"CLIENTPart"), c.dest);
    EXPECT_TRUE(files->FileExists(c.licence)) << ToUtf8(c.licence);
  }
}

TEST_F(WizardPages, ARefusedDestinationKeepsTheWizardOnItsPage) {
  struct Case {
    const wchar_t* box;
    MsgResult answer;
    const wchar_t* box_after;
  };
  const Case cases[] = {
      {L"D:App", MsgResult::Yes, L"D:App"},
      {L"C:\\Missing", MsgResult::No, L"C:\\Missing"},
      // A lone backslash empties the box; the empty path cannot be created.
      {L"\\", MsgResult::Yes, L""},
  };
  for (const auto& c : cases) {
    Reset();
    auto f = CreateAndShow();
    ToDestination(*f);
    f->edDir->SetText(c.box);
    app.QueueAnswer(c.answer);
    f->btnNext->Click();
    EXPECT_EQ(Page(*f), 2) << ToUtf8(c.box);
    EXPECT_EQ(f->edDir->text(), c.box_after);
    EXPECT_FALSE(app.boxes.empty());
    EXPECT_FALSE(files->DirectoryExists(L"C:\\Missing"));
    Idle();
    EXPECT_EQ(f->btnNext->enabled(), !Trim(c.box_after).empty());
  }
}

TEST_F(WizardPages, BackSkipsTheHiddenPagesAndStaysWithinTheWizard) {
  auto f = CreateAndShow();
  f->btnPrior->Click();
  EXPECT_EQ(Page(*f), 0) << "Back by code on Welcome";
  struct Case {
    int from, to;
  };
  for (const Case& c : {Case{1, 0}, Case{2, 1}, Case{5, 2}, Case{6, 2}, Case{7, 6}}) {
    f->pcMain->SetActivePageIndex(c.from);
    f->btnPrior->Click();
    EXPECT_EQ(Page(*f), c.to) << "from " << c.from;
  }
  EXPECT_EQ(f->labMain->caption(), L"正在安装") << "Back runs the page-change update";
}

TEST_F(WizardPages, HeadingsFollowTheLanguageAndTheResellerName) {
  WriteProductInfo({{"a12", L"智表"}, {"a13", L""}, {"a16", L""}, {"a17", L""}, {"a18", L""}});
  auto f = CreateAndShow();
  EXPECT_EQ(f->labMain->caption(), L"欢迎使用 智表客户端 安装向导");
  f->btnNext->Click();
  f->comboLang->Choose(2);
  EXPECT_EQ(f->labMain->caption(), L"License Agreement") << "the current page, at once";
  f->comboLang->Choose(1);
  EXPECT_EQ(f->labMain->caption(), L"使用授權合約");
}

TEST_F(WizardPages, ALanguageChangeKeepsTheProposedDestination) {
  registry.SetString(RootKey::CurrentUser, kProductKey, L"CLIENTPart", L"E:\\Old\\CLIENT");
  auto f = CreateAndShow();
  ASSERT_EQ(f->edDir->text(), L"E:\\Old\\CLIENT");
  f->comboLang->Choose(2);
  EXPECT_EQ(f->edDir->text(), L"E:\\Old\\CLIENT");
}

TEST_F(WizardPages, AFailedInstallStaysOnInstallingAndNextRunsItAgain) {
  files->AddFile(kDest + L"\\modCalc.dll", std::string("old"));
  files->Lock(kDest + L"\\modCalc.dll");
  auto f = CreateAndShow();
  ToDestination(*f);
  Press(f->btnNext);

  ASSERT_EQ(Page(*f), 6);
  ASSERT_FALSE(app.boxes.empty());
  EXPECT_EQ(app.boxes.back().icon, MsgIcon::Error) << "the standard error box";
  EXPECT_EQ(app.boxes.back().caption, app.Title());
  EXPECT_EQ(Shown(*f), "1110");
  EXPECT_FALSE(f->install_complete());
  EXPECT_EQ(app.beeps, 0);
  EXPECT_TRUE(UserValue(L"sLastUpdateTime").empty()) << "later steps did not run";

  // Finish pressed by code now records nothing: no client is installed yet.
  f->btnOK->Click();
  EXPECT_TRUE(UserValue(L"CLIENTPart").empty());
  EXPECT_FALSE(files->FileExists(kDest + L"\\License.txt"));

  Reset();
  files->AddFile(kDest + L"\\modCalc.dll", std::string("old"));
  files->Lock(kDest + L"\\modCalc.dll");
  f = CreateAndShow();
  ToDestination(*f);
  Press(f->btnNext);
  ASSERT_EQ(Page(*f), 6);
  files->Lock(kDest + L"\\modCalc.dll", false);
  f->btnNext->Click();
  EXPECT_EQ(Page(*f), 7);
  EXPECT_EQ(files->Text(kDest + L"\\modCalc.dll"), "calc");
  EXPECT_EQ(f->Label6->caption(), L"安装成功");
  f->btnOK->Click();
  EXPECT_EQ(UserValue(L"CLIENTPart"), kDest);
}

TEST_F(WizardPages, SilentModeInstallsUnaskedAndWaitsOnFinished) {
  files->AddFile(L"C:\\setup\\SysSetup.ini",
                 std::string("[Setup]\r\nSilenceInstall=1\r\nDEFAULT_PATH=D:\\Q\r\n"));
  files->AddDrive(L"D:");
  auto f = CreateAndShow();
  EXPECT_EQ(Page(*f), 7);
  EXPECT_TRUE(app.boxes.empty()) << "no create question";
  EXPECT_TRUE(files->FileExists(L"D:\\Q\\CLIENT\\modCalc.dll"));
  EXPECT_FALSE(f->closed());
}

TEST_F(WizardPages, SilentModeWithACommandLineRoleInstallsIntoTheCommandLineFolder) {
  for (const wchar_t* role : {L"CLIENT", L"WEB"}) {
    Reset();
    files->AddFile(L"C:\\setup\\SysSetup.ini",
                   std::string("[Setup]\r\nSilenceInstall=1\r\nDEFAULT_PATH=C:\\Conf\r\n"));
    env.args = {role, L"C:\\Base"};
    auto f = CreateAndShow();
    EXPECT_TRUE(app.boxes.empty()) << ToUtf8(role);
    // The command line names the folder: the timer installs there, not into the configured.
    f->Timer1->Fire();
    ASSERT_EQ(Page(*f), 7) << ToUtf8(role);
    EXPECT_TRUE(files->FileExists(L"C:\\Base\\CLIENT\\modCalc.dll"));
    EXPECT_FALSE(files->DirectoryExists(L"C:\\Conf\\CLIENT"));
    f->btnNext->Click();
    EXPECT_EQ(Page(*f), 7) << "Next by code on Finished does nothing";
  }
}

TEST_F(WizardPages, LaunchRolesInstallByTheTimerAndTheAutomaticRolesFinishThemselves) {
  struct Case {
    const wchar_t* role;
    bool finishes_itself;  // window hidden, Finish pressed, ALLSetup stored
  };
  for (const Case& c : {Case{L"CLIENT", false}, Case{L"WEB", false}, Case{L"WEB_CLIENT", true}}) {
    Reset();
    env.args = {c.role, L"C:\\Base"};
    auto f = CreateAndShow();
    f->edCOMIP->SetText(L"10.0.0.1");
    f->Timer1->Fire();
    ASSERT_EQ(Page(*f), 7) << ToUtf8(c.role);
    EXPECT_TRUE(files->FileExists(L"C:\\Base\\CLIENT\\modCalc.dll"));
    EXPECT_EQ(f->closed(), c.finishes_itself) << ToUtf8(c.role);
    EXPECT_EQ(f->visible(), !c.finishes_itself);
    if (!c.finishes_itself) f->btnOK->Click();
    EXPECT_EQ(UserValue(L"CLIENTPart"), L"C:\\Base\\CLIENT");
    EXPECT_EQ(ReadRegString(registry, RootKey::LocalMachine, kProductKey, L"ALLSetup"),
              c.finishes_itself ? L"1" : L"");
  }
}

TEST_F(WizardPages, AWebRunNeverInstallsIntoARefusedFolder) {
  for (const wchar_t* role : {L"WEB", L"WEB_CLIENT"}) {
    Reset();
    env.args = {role};  // no base folder: "\CLIENT" fails the structure test
    auto f = CreateAndShow();
    f->Timer1->Fire();
    EXPECT_EQ(Page(*f), 5) << ToUtf8(role);
    ASSERT_EQ(app.boxes.size(), 1u);
    EXPECT_FALSE(f->Timer1->timer_enabled());

    f->edCOMIP->SetText(L"10.0.0.1");
    f->btnNext->Click();
    EXPECT_EQ(Page(*f), 5) << "Next shows the check's message again";
    ASSERT_EQ(app.boxes.size(), 2u);
    EXPECT_EQ(app.boxes[1].text, app.boxes[0].text);
    EXPECT_TRUE(files->ListDirectory(L"C:\\CLIENT").empty());
    EXPECT_FALSE(f->closed());
  }
}

TEST_F(WizardPages, ACancelDuringARunningStepWaitsForTheStepToReturn) {
  auto f = CreateAndShow();
  ToDestination(*f);
  // The page-change update serves the window before the install starts: Cancel arrives then.
  bool closed_during = true;
  app.during_messages = [&] {
    f->btnCancel->Click();
    closed_during = f->closed();
  };
  f->btnNext->Click();
  EXPECT_FALSE(closed_during);
  EXPECT_TRUE(f->closed());
  EXPECT_FALSE(f->install_complete());
  EXPECT_FALSE(files->FileExists(kDest + L"\\modCalc.dll")) << "the sequence stopped there";
  EXPECT_TRUE(UserValue(L"CLIENTPart").empty());
}

TEST_F(WizardPages, TheExitCodeTellsHowTheRunEnded) {
  struct Case {
    const char* what;
    std::function<void(WizardPages&, TfrmClientInstall&)> run;
    int code;
  };
  const auto hold = [](WizardPages& t) {
    t.Files().AddFile(kDest + L"\\modCalc.dll", std::string("old"));
    t.Files().Lock(kDest + L"\\modCalc.dll");
  };
  const Case cases[] = {
      {"Finish after an install",
       [](WizardPages& t, TfrmClientInstall& f) {
         t.ToDestination(f);
         f.btnNext->Click();
         f.btnOK->Click();
       },
       0},
      {"Cancel on Welcome", [](WizardPages&, TfrmClientInstall& f) { f.btnCancel->Click(); }, 2},
      {"a 64-bit Excel",
       [](WizardPages& t, TfrmClientInstall& f) {
         t.Excel().properties[L"ProductCode"] = L"{90160000-0011-0000-1000-0000000FF1CE}";
         f.btnNext->Click();
       },
       1},
      {"Cancel after an install error",
       [hold](WizardPages& t, TfrmClientInstall& f) {
         hold(t);
         t.ToDestination(f);
         t.Press(f.btnNext);
         f.btnCancel->Click();
       },
       3},
      {"Finish after an install error and a retry",
       [hold](WizardPages& t, TfrmClientInstall& f) {
         hold(t);
         t.ToDestination(f);
         t.Press(f.btnNext);
         t.Files().Lock(kDest + L"\\modCalc.dll", false);
         f.btnNext->Click();
         f.btnOK->Click();
       },
       0},
  };
  for (const auto& c : cases) {
    Reset();
    auto f = CreateAndShow();
    c.run(*this, *f);
    EXPECT_TRUE(f->closed()) << c.what;
    EXPECT_EQ(f->exit_code(), c.code) << c.what;
  }
}

TEST_F(WizardPages, SmallHandlersOfThePages) {
  auto f = CreateAndShow();
  // Reinstall option: the wording flips between installing and removing.
  f->rabInstall->SetChecked(false);
  f->rabInstallClick();
  EXPECT_EQ(f->caption(), L"程序删除");
  EXPECT_EQ(f->labMain->caption(), L"欢迎使用 Quillon客户端 删除向导");
  f->rabInstall->Click();
  EXPECT_EQ(f->caption(), L"程序安装");
  EXPECT_EQ(f->labMain->caption(), L"欢迎使用 Quillon客户端 安装向导");

  // Data-file box.
  f->chkbDataFilePath->Click();
  EXPECT_TRUE(f->edDataFilePath->enabled());
  EXPECT_TRUE(f->labDataFilePath->enabled());
  f->chkbDataFilePath->Click();
  EXPECT_FALSE(f->edDataFilePath->enabled());
  EXPECT_FALSE(f->labDataFilePath->enabled());

  // Browse: the picker's folder replaces the box unchanged; cancelling leaves it.
  app.QueueFolder(L"D:\\Picked");
  f->Button1->Click();
  EXPECT_EQ(f->edDir->text(), L"D:\\Picked");
  app.QueueFolder(L"");
  f->Button1->Click();
  EXPECT_EQ(f->edDir->text(), L"D:\\Picked");
  EXPECT_EQ(app.folder_picker_titles, (std::vector<std::wstring>{L"请选择", L"请选择"}));
}

}  // namespace
}  // namespace quillon
