// The wizard's Excel check: where it runs, its two messages in the three languages, the end of
// the installer without a page change, and an automation failure that keeps the wizard.
#include <gtest/gtest.h>

#include "config/unReg_File.h"
#include "support/installer_fixture.h"

namespace quillon {
namespace {

class WizardExcel : public InstallerFixture {
 protected:
  void Press(ui::Button* button) {
    app.HandleEvent([button] { button->Click(); });
  }
  void Bits64() {
    automation.properties[L"ProductCode"] = L"{90160000-0011-0000-1000-0000000FF1CE}";
  }
};

TEST_F(WizardExcel, AnUnusableExcelEndsTheInstallerWithItsMessage) {
  struct Case {
    const wchar_t* lang;
    bool missing;  // else 64-bit
    const wchar_t* text;
  };
  const Case cases[] = {
      {L"A", true, L"请先安装 Excel ！"},
      {L"B", true, L"請先安裝 Excel ！"},
      {L"C", true, L"Please install Office Excel first !"},
      {L"A", false, L"当前客户端程序只适合 32位的Excel ！"},
      {L"B", false, L"當前用戶端程式只適合 32位元的Excel ！"},
      {L"C", false, L"You must install Office Excel with 32 Bit!"},
  };
  for (const auto& c : cases) {
    Reset();
    registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", c.lang);
    if (c.missing) {
      automation.progid.clear();
    } else {
      Bits64();
    }
    auto f = CreateAndShow();
    f->btnNext->Click();
    EXPECT_TRUE(f->closed()) << ToUtf8(c.text);
    EXPECT_TRUE(f->bCanClose);
    EXPECT_EQ(f->pcMain->active_page_index(), 0) << "no page change";
    ASSERT_EQ(app.boxes.size(), 1u);
    EXPECT_EQ(app.boxes[0].text, c.text);
    EXPECT_EQ(app.boxes[0].caption, c.lang[0] == L'C' ? L"Hint" : L"提示");
    if (c.missing) {
      EXPECT_EQ(automation.calls.size(), 0u) << "Excel is not started";
    }
  }
}

TEST_F(WizardExcel, SilentAndClientRunsEndTheSameWayWithNothingInstalled) {
  for (bool silent : {true, false}) {
    Reset();
    Bits64();
    if (silent) {
      files->AddFile(L"C:\\setup\\SysSetup.ini", std::string("[Setup]\r\nSilenceInstall=1\r\n"));
    } else {
      env.args = {L"CLIENT", L"C:\\Base"};
    }
    auto f = CreateAndShow();
    EXPECT_TRUE(f->closed()) << silent;
    EXPECT_FALSE(f->Timer1->timer_enabled());
    EXPECT_EQ(app.boxes.size(), 1u);
    EXPECT_FALSE(files->DirectoryExists(L"C:\\Tovrin\\CLIENT"));
    EXPECT_FALSE(files->DirectoryExists(L"C:\\Base\\CLIENT"));
  }
}

TEST_F(WizardExcel, EachNextFromWelcomeStartsExcelAgain) {
  auto f = CreateAndShow();
  f->btnNext->Click();
  f->btnPrior->Click();
  f->btnNext->Click();
  int creations = 0;
  for (const auto& c : automation.calls) creations += c == L"create Excel.Application";
  EXPECT_EQ(creations, 2);
  EXPECT_EQ(f->pcMain->active_page_index(), 1);
}

TEST_F(WizardExcel, AnAutomationFailureShowsTheErrorBoxAndKeepsTheWizardOnWelcome) {
  automation.fail_create = L"Server execution failed";
  auto f = CreateAndShow();
  Press(f->btnNext);
  EXPECT_FALSE(f->closed());
  EXPECT_EQ(f->pcMain->active_page_index(), 0);
  ASSERT_EQ(app.boxes.size(), 1u);
  EXPECT_EQ(app.boxes[0].text, L"Server execution failed");
  EXPECT_EQ(app.boxes[0].icon, MsgIcon::Error);
  EXPECT_EQ(app.boxes[0].caption, app.Title());
}

}  // namespace
}  // namespace quillon
