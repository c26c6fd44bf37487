// The wizard in its three languages: the caption table, fonts, start-up language, language
// changes, page headings and the product name for every launch role.
#include <gtest/gtest.h>

#include "app/licence_texts.h"
#include "app/wizard_captions.h"
#include "app/wizard_headings.h"
#include "base/text.h"
#include "config/unReg_File.h"
#include "support/installer_fixture.h"

namespace quillon {
namespace {

class WizardLanguage : public InstallerFixture {
 protected:
  void StoreLang(const wchar_t* code) {
    registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", code);
  }
  std::optional<std::wstring> StoredLang() {
    auto v = registry.Get(RootKey::CurrentUser, kProductKey, L"CurLang");
    if (!v) return std::nullopt;
    return v->text;
  }
  static ui::Control* ControlOf(TfrmClientInstall& form, const WizardCaption& row) {
    return row.control == std::wstring(kWizardFormName) ? &form : form.Find(row.control);
  }
  // Every caption of the table in `column`, except the two hints that receive the product name.
  static void ExpectColumn(TfrmClientInstall& form, int column) {
    for (size_t i = 0; i < WizardCaptionCount(); ++i) {
      const WizardCaption& row = WizardCaptions()[i];
      const std::wstring name = row.control;
      if (name == L"labDirHint" || name == L"labFinishHint") continue;
      EXPECT_EQ(ControlOf(form, row)->caption(), CaptionText(row, column)) << ToUtf8(name);
    }
  }
};

TEST_F(WizardLanguage, TableNamesControlsOfTheFormAndColumnAIsTheDesign) {
  TfrmClientInstall form(env);
  for (size_t i = 0; i < WizardCaptionCount(); ++i) {
    const WizardCaption& row = WizardCaptions()[i];
    ui::Control* control = ControlOf(form, row);
    ASSERT_NE(control, nullptr) << ToUtf8(row.control);
    EXPECT_EQ(control->caption(), row.a) << ToUtf8(row.control);
  }
  EXPECT_EQ(form.Memo1->text(), LicenceText(0) + L"\r\n");
  EXPECT_EQ(form.btnCancel->caption(), L"取消");
  // Texts whose quotes and blanks are part of them.
  EXPECT_EQ(std::wstring(FindWizardCaption(L"labFirstHint2")->a),
            L"请点击\"下一步\"继续,或\"取消\"退出安装");
  EXPECT_EQ(std::wstring(FindWizardCaption(L"Label4")->c), L"         DB Server:");
  EXPECT_EQ(std::wstring(FindWizardCaption(L"Label14")->c), L"");
}

TEST_F(WizardLanguage, StartUpLanguage) {
  struct Case {
    const wchar_t* stored;  // nullptr: no value
    int column;
    const wchar_t* font;
    int font_size;
    const wchar_t* stored_after;  // nullptr: nothing stored
    const wchar_t* dir_hint;
  } cases[] = {
      {nullptr, 0, L"宋体", 9, nullptr, L"安装程序将安装 Quillon客户端 到如下文件夹."},
      {L"A", 0, L"宋体", 9, L"A", L"安装程序将安装 Quillon客户端 到如下文件夹."},
      {L"B", 1, L"宋体", 9, L"B", L"安裝程式將安裝 Quillon用戶端 到如下資料夾."},
      {L"C", 2, L"Tahoma", 8, L"C",
       L"Setup will install  Quillon Client  into the following folder."},
      // An unknown code sets no flag; start-up then selects the first item and stores "A".
      {L"a", 0, L"宋体", 9, L"A", L"安装程序将安装 Quillon客户端 到如下文件夹."},
      {L"Z", 0, L"宋体", 9, L"A", L"安装程序将安装 Quillon客户端 到如下文件夹."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? ToUtf8(c.stored) : "none");
    Reset();
    if (c.stored) StoreLang(c.stored);
    auto form = CreateAndShow();
    ExpectColumn(*form, c.column);
    EXPECT_EQ(form->font(), (ui::Font{c.font, c.font_size}));
    EXPECT_EQ(form->labMain->font().name, c.font);
    EXPECT_EQ(form->Label1->font().name, c.font);
    EXPECT_EQ(form->comboLang->item_index(), c.column);
    EXPECT_EQ(form->Memo1->lines().size(), SplitLines(LicenceText(c.column)).size());
    EXPECT_EQ(form->Memo1->lines()[0], SplitLines(LicenceText(c.column))[0]);
    EXPECT_EQ(form->labDirHint->caption(), c.dir_hint);
    EXPECT_EQ(form->sLangFlag, c.stored ? c.stored : L"A");
    if (c.stored_after) {
      EXPECT_EQ(StoredLang(), c.stored_after);
    } else {
      EXPECT_FALSE(StoredLang());
    }
  }
}

TEST_F(WizardLanguage, ChangingLanguageSwitchesCaptionsFontsHeadingsAndAgreement) {
  StoreLang(L"B");
  auto form = CreateAndShow();
  EXPECT_EQ(form->labMain->caption(), L"歡迎使用 Quillon用戶端 安裝嚮導");

  form->comboLang->Choose(2);
  EXPECT_EQ(StoredLang(), L"C");
  ExpectColumn(*form, 2);
  EXPECT_EQ(form->btnOK->caption(), L"finish");
  EXPECT_EQ(form->btnCancel->caption(), L"Cancel");
  EXPECT_EQ(form->Label14->caption(), L"");
  EXPECT_EQ(form->Label15->caption(), L"");
  EXPECT_EQ(form->Label11->left(), 105);
  EXPECT_EQ(form->Label12->left(), 105);
  EXPECT_EQ(form->font(), (ui::Font{L"Tahoma", 8}));
  EXPECT_EQ(form->labMain->font(), (ui::Font{L"Tahoma", 10}));
  EXPECT_EQ(form->Label1->font().name, L"Tahoma");
  EXPECT_EQ(form->Label6->font().name, L"Tahoma");
  EXPECT_EQ(form->labMain->caption(), L"Welcome to  Quillon Client  Setup Wizard");
  EXPECT_EQ(form->labDetail->caption(),
            L"This wizard will install  Quillon Client  into your computer.");
  EXPECT_EQ(form->Memo1->lines().size(), 6u);
  EXPECT_EQ(form->labFinishHint->caption(),
            L" Quillon Client  has installed into your computer successfully.");
  // The language of the start stays in force for the form.
  EXPECT_EQ(form->sLangFlag, L"B");
  EXPECT_EQ(app.Title(), L"Quillon用戶端安裝程式");

  form->comboLang->Choose(0);
  ExpectColumn(*form, 0);
  EXPECT_EQ(form->Label14->caption(), L"注意：如果是 Windows2003 + SP2 则要求必须输入账户及密码,");
  EXPECT_EQ(form->font(), (ui::Font{L"宋体", 9}));
  EXPECT_EQ(form->labMain->font(), (ui::Font{L"宋体", 10}));
  EXPECT_EQ(form->Label1->font().name, L"宋体");
  EXPECT_EQ(form->labDirHint->caption(), L"安装程序将安装 Quillon客户端 到如下文件夹.");
  EXPECT_EQ(form->Memo1->lines().size(), SplitLines(LicenceText(0)).size());
}

TEST_F(WizardLanguage, HintsAreFilledOnceEvenWhenTheNameLooksLikeAFormat) {
  WriteProductInfo({{"a12", L"50%s%%"}, {"a13", L""}, {"a16", L""}, {"a17", L""}, {"a18", L""}});
  auto form = CreateAndShow();
  const std::wstring expected = L"安装程序将安装 50%s%%客户端 到如下文件夹.";
  EXPECT_EQ(form->labDirHint->caption(), expected);
  form->RefreshProductName();
  form->RefreshProductName();
  EXPECT_EQ(form->labDirHint->caption(), expected);
  EXPECT_EQ(form->labFinishHint->caption(), L" 50%s%%客户端 已经在你的计算机中安装完毕。");
}

TEST_F(WizardLanguage, ProductNameForEveryLaunchRole) {
  struct Case {
    std::vector<std::wstring> args;
    const wchar_t* lang;
    const wchar_t* oem;
    const wchar_t* name;    // as it goes into the destination hint
    const wchar_t* ribbon;  // sClientName_Ribbon
  } cases[] = {
      {{}, L"A", L"", L" Quillon客户端 ", L" Quillon "},
      {{L"COM"}, L"A", L"", L" Quillon客户端 ", L" Quillon "},
      {{L"CLIENT", L"D:\\Base"}, L"A", L"", L" Quillon ", L" Quillon "},
      {{L"client"}, L"A", L"", L" Quillon客户端 ", L" Quillon "},
      {{L"WEB", L"D:\\Base"}, L"A", L"报表网络服务器", L" 报表客户端 ", L" 报表 "},
      {{L"WEB_CLIENT", L"D:\\Base"},
       L"A",
       L"报表网络服务器",
       L" 报表网络服务器客户端 ",
       L" 报表网络服务器 "},
      {{L"CLIENT", L"D:\\Base"}, L"A", L"报表服务器", L" 报表服务器 ", L" 报表服务器 "},
      // Outside language A of the start, "服务器" is written "伺服器" after the ribbon name
      // was taken.
      {{}, L"B", L"报表服务器", L" 报表伺服器用戶端 ", L" 报表服务器用戶端 "},
      {{L"CLIENT", L"D:\\Base"}, L"B", L"", L" Quillon用戶端 ", L" Quillon用戶端 "},
      {{L"WEB", L"D:\\Base"}, L"C", L"X网络服务器", L" X Client ", L" X Client "},
      {{L"CLIENT", L"D:\\Base"}, L"C", L"", L" Quillon Client ", L" Quillon Client "},
      {{L"COM"},
       L"C",
       L"Quillon Quillon",
       L" Quillon Quillon Client ",
       L" Quillon Quillon Client "},
  };
  const std::wstring formats[] = {L"安装程序将安装%s到如下文件夹.",
                                  L"安裝程式將安裝%s到如下資料夾.",
                                  L"Setup will install %s into the following folder."};
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.lang) + " " + (c.args.empty() ? "" : ToUtf8(c.args[0])) + " " +
                 ToUtf8(c.oem));
    Reset();
    env.args = c.args;
    StoreLang(c.lang);
    WriteProductInfo({{"a12", c.oem}, {"a13", L""}, {"a16", L""}, {"a17", L""}, {"a18", L""}});
    auto form = Create();
    form->RefreshProductName();
    const int column = c.lang[0] - L'A';
    EXPECT_EQ(form->labDirHint->caption(), FormatS(formats[column], c.name));
    EXPECT_EQ(form->sClientName_Ribbon, c.ribbon);
  }
}

TEST(WizardHeadings, TablesReplacementsAndRange) {
  struct Case {
    const wchar_t* lang;
    const wchar_t* start;
    const wchar_t* oem;
    int index;
    const wchar_t *main, *detail;
  } cases[] = {
      {L"A", L"A", L"", 0, L"欢迎使用 Quillon客户端 安装向导",
       L"此向导将会在你的计算机中安装 Quillon客户端 "},
      {L"A", L"A", L"报表通", 6, L"正在安装", L"安装程序正在安装 报表通客户端 "},
      {L"A", L"A", L"", 4, L"数据库安装", L"安装数据库之前,需要先登录数据库服务器"},
      // A start language other than A rewrites the detail line only.
      {L"A", L"B", L"", 4, L"数据库安装", L"安装资料库之前,需要先登录资料库伺服器"},
      {L"A", L"C", L"", 5, L"指定 中间件服务器", L"请输入 中间件伺服器 的IP地址"},
      {L"B", L"B", L"", 5, L"指定 中介軟體伺服器", L"請輸入 中介軟體伺服器 的IP位址"},
      {L"B", L"B", L"R", 2, L"選擇目標位置", L"你準備把 R用戶端 安裝到哪裡?"},
      {L"C", L"C", L"Q Quillon", 0, L"Welcome to  Q Quillon Client  Setup Wizard",
       L"This wizard will install  Q Quillon Client  into your computer."},
      {L"C", L"A", L"", 7, L"Install Completed", L""},
      {L"A", L"A", L"", 7, L"安装完成", L""},
      // No flag: the English tables.
      {L"x", L"x", L"", 3, L"Set Administrator", L"Please administrator and password of this OS."},
  };
  FakeRegistry reg;
  FakeApplication app;
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.lang) + " " + ToUtf8(c.start) + " " + std::to_string(c.index));
    reg.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", c.lang);
    BindLanguageServices(&reg, &app);
    PageHeadings h;
    ASSERT_TRUE(HeadingsOfPage(c.index, c.oem, c.start, &h));
    EXPECT_EQ(h.main, c.main);
    EXPECT_EQ(h.detail, c.detail);
  }
  PageHeadings h{L"kept", L"kept"};
  EXPECT_FALSE(HeadingsOfPage(-1, L"", L"A", &h));
  EXPECT_FALSE(HeadingsOfPage(kWizardPageCount, L"", L"A", &h));
  EXPECT_EQ(h.main, L"kept");
  BindLanguageServices(nullptr, nullptr);
}

}  // namespace
}  // namespace quillon
