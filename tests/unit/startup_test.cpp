// Start-up of the installer on fakes: program entry and title, the form's creation and show
// steps, launch roles, the command-line timer, the close rule and the missing-file exit.
#include <gtest/gtest.h>

#include <memory>

#include "app/installer_main.h"
#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "config/unReg_File.h"
#include "platform/fake/fake_application.h"
#include "platform/fake/fake_registry.h"
#include "support/installer_fixture.h"

namespace quillon {
namespace {

class Startup : public InstallerFixture {};

TEST_F(Startup, EntryTitleThenProductTitleAndShownWizard) {
  EXPECT_EQ(RunInstaller(env), 2) << "the wizard did not install";
  EXPECT_TRUE(app.ran_main_form);
  EXPECT_EQ(app.Title(), L"Quillon客户端安装程序");
}

TEST_F(Startup, TitleFollowsTheStoredLanguageOfTheStart) {
  struct Case {
    const wchar_t* stored;
    const wchar_t* title;
  };
  const Case cases[] = {
      {L"", L"Quillon客户端安装程序"},
      {L"A", L"Quillon客户端安装程序"},
      {L"B", L"Quillon用戶端安裝程式"},
      {L"C", L"Quillon Client Setup"},
      // No flag is set for an unknown code: the English name, computed before the code is
      // replaced.
      {L"a", L"Quillon Client Setup"},
  };
  for (const auto& c : cases) {
    Reset();
    if (*c.stored) registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", c.stored);
    auto form = Create();
    EXPECT_EQ(app.Title(), c.title) << c.stored;
  }
}

TEST_F(Startup, ShowHooksIdleHidesTabsAndProposesTheClientFolder) {
  auto form = CreateAndShow();
  EXPECT_TRUE(form->IdleHooked());
  EXPECT_EQ(form->pcMain->active_page_index(), 0);
  for (int i = 0; i < form->pcMain->page_count(); ++i) {
    EXPECT_FALSE(form->pcMain->page(i)->tab_visible) << i;
  }
  EXPECT_EQ(form->pcMain->page_count(), 8);
  EXPECT_FALSE(form->rabInstall->visible());
  EXPECT_EQ(form->edDir->text(), L"C:\\Tovrin\\CLIENT");
  EXPECT_EQ(form->labCopyFile->caption(), L"");
  EXPECT_FALSE(form->Timer1->timer_enabled());
}

TEST_F(Startup, RecordedDestinationIsOfferedForReinstall) {
  registry.SetString(RootKey::CurrentUser, kProductKey, L"CLIENTPart", L"E:\\Old\\CLIENT");
  auto form = CreateAndShow();
  EXPECT_TRUE(form->rabInstall->visible());
  EXPECT_EQ(form->edDir->text(), L"E:\\Old\\CLIENT");
}

TEST_F(Startup, ShowReadsNothingIntoTheRegistry) {
  auto form = CreateAndShow();
  EXPECT_FALSE(registry.KeyExists(RootKey::CurrentUser, kProductKey));
}

struct RoleCase {
  std::vector<std::wstring> args;
  const wchar_t* page;
  bool timer;
};

TEST_F(Startup, LaunchRoleChoosesThePageAndStartsTheTimer) {
  const RoleCase cases[] = {
      {{}, L"tabFirst", false},
      {{L"client", L"D:\\x"}, L"tabFirst", false},
      {{L"CLIENT2", L"D:\\x"}, L"tabFirst", false},
      {{L"COM"}, L"tabFirst", false},
      {{L"CLIENT", L"D:\\x"}, L"tabDir", true},
      {{L"WEB", L"D:\\x"}, L"tabCOM", true},
      {{L"WEB_CLIENT", L"D:\\x"}, L"tabCOM", true},
  };
  for (const auto& c : cases) {
    Reset();
    env.args = c.args;
    auto form = CreateAndShow();
    const std::wstring first = c.args.empty() ? L"(none)" : c.args[0];
    EXPECT_EQ(form->pcMain->active_page()->name(), c.page) << first;
    EXPECT_EQ(form->Timer1->timer_enabled(), c.timer) << first;
  }
}

TEST_F(Startup, CommandLineTimerChecksTheBaseFolderAndShowsTheWindowOnTop) {
  struct Case {
    std::vector<std::wstring> args;
    const wchar_t* dest;
    bool created;
    const wchar_t* hint;  // the message shown, or nullptr for none
    size_t boxes;         // how often: Next on the destination page checks the box again
  };
  const Case cases[] = {
      {{L"CLIENT", L"C:\\Base Dir"}, L"C:\\Base Dir\\CLIENT", true, nullptr, 0},
      {{L"WEB", L" C:\\srv "},
       L"C:\\srv \\CLIENT",
       false,
       L"目录： C:\\srv \\CLIENT 结构有误，请检查！",
       1},
      {{L"CLIENT"}, L"\\CLIENT", false, L"目录：\\CLIENT 结构有误，请检查！", 2},
  };
  for (const auto& c : cases) {
    Reset();
    env.args = c.args;
    auto form = CreateAndShow();
    form->Timer1->Fire();
    EXPECT_EQ(form->sDestDir, c.dest) << c.args[0];
    EXPECT_EQ(files->DirectoryExists(c.dest), c.created) << c.dest;
    ASSERT_EQ(app.boxes.size(), c.boxes) << c.dest;
    for (const auto& box : app.boxes) EXPECT_EQ(box.text, c.hint);
    EXPECT_FALSE(form->Timer1->timer_enabled());
    EXPECT_TRUE(form->top_most());
    EXPECT_TRUE(form->visible());
  }
}

TEST_F(Startup, BrowserAccessSetUpRunsTheCertificateBatchHiddenAndWaits) {
  for (bool auto_set_ie : {false, true}) {
    Reset();
    files->AddFile(L"C:\\setup\\SysSetup.ini",
                   std::string("[Setup]\r\nAutoSetIE=") + (auto_set_ie ? "1" : "0") + "\r\n");
    processes.exit_after_waits = 3;
    auto form = CreateAndShow();
    if (!auto_set_ie) {
      EXPECT_TRUE(processes.started.empty());
      continue;
    }
    ASSERT_EQ(processes.started.size(), 1u);
    EXPECT_EQ(processes.started[0].program, L"C:\\setup\\安装证书.bat") << "beside the installer";
    EXPECT_EQ(processes.started[0].parameters, L"");
    EXPECT_EQ(processes.started[0].show, ShowMode::Hide);
    EXPECT_GE(app.process_messages_count, 3) << "the window is served while waiting";
  }
}

TEST_F(Startup, CloseIsRefusedUntilAllowedAndARefusalChangesNothing) {
  auto form = CreateAndShow();
  EXPECT_FALSE(form->Close());
  EXPECT_FALSE(form->closed());
  EXPECT_TRUE(form->IdleHooked());
  EXPECT_EQ(form->pcMain->active_page_index(), 0);
  form->btnCancel->Click();
  EXPECT_TRUE(form->closed());
  EXPECT_TRUE(form->bCanClose);
  EXPECT_FALSE(app.OnIdle());
  EXPECT_TRUE(app.boxes.empty()) << "Cancel asks no question";
}

TEST_F(Startup, ACloseThatGoesAheadRestoresTheEarlierIdleHandler) {
  int earlier_runs = 0;
  app.SetOnIdle(IdleHandler{&earlier_runs, [&earlier_runs] { ++earlier_runs; }});
  auto form = CreateAndShow();
  EXPECT_TRUE(form->IdleHooked());
  form->bCanClose = true;
  EXPECT_TRUE(form->Close());
  EXPECT_EQ(app.OnIdle().owner, &earlier_runs);
}

TEST_F(Startup, MissingFileExitShowsTheDetailAndEndsTheProgram) {
  struct Case {
    const wchar_t* lang;
    const wchar_t* caption;
  };
  const Case cases[] = {{L"A", L"提示"}, {L"B", L"提示"}, {L"C", L"Hint"}};
  for (const auto& c : cases) {
    Reset();
    registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", c.lang);
    auto form = std::make_unique<TfrmClientInstall>(env);
    EXPECT_THROW(form->ExitForMissingFile(L"the detail"), ProgramEnd);
    ASSERT_EQ(app.boxes.size(), 1u);
    EXPECT_EQ(app.boxes[0].text, L"缺少文件，程序结束运行！\r\nthe detail");
    EXPECT_EQ(app.boxes[0].caption, c.caption);
    EXPECT_EQ(app.boxes[0].icon, MsgIcon::Information);
  }
}

}  // namespace
}  // namespace quillon
