// The product information file: reseller names into the wizard and the licence agreement,
// and the end of the program when the file is missing or cannot be read.
#include <gtest/gtest.h>

#include "app/installer_main.h"
#include "app/licence_texts.h"
#include "base/text.h"
#include "config/unReg_File.h"
#include "formats/record_writer.h"
#include "support/installer_fixture.h"

namespace quillon {
namespace {

const wchar_t kPInfo[] = L"C:\\setup\\PInfo.dat";
const std::wstring kMissing = L"缺少文件，程序结束运行！\r\n";

size_t Count(const std::wstring& text, const std::wstring& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class ProductInfo : public InstallerFixture {};

TEST_F(ProductInfo, NamesReachTheWizard) {
  WriteProductInfo({{"a12", L"报表通"},
                    {"a13", L"Full"},
                    {"a16", L"华表数据"},
                    {"a17", L"S"},
                    {"a18", L"报表助手"}});
  auto form = Create();
  EXPECT_EQ(form->OEMMsg, L"报表通");
  EXPECT_EQ(form->OEMMsg2, L"报表助手");
  EXPECT_EQ(form->SymbolLine1->Caption(), L"华表数据");
  EXPECT_EQ(form->SymbolLine1->label()->caption(), L"华表数据");
  EXPECT_EQ(app.Title(), L"报表通客户端安装程序");
}

TEST_F(ProductInfo, EmptyFieldsKeepTheProductWordButClearTheSymbolLine) {
  WriteProductInfo({{"a12", L""}, {"a13", L""}, {"a16", L""}, {"a17", L""}, {"a18", L""}});
  auto form = Create();
  EXPECT_EQ(form->OEMMsg, L"");
  EXPECT_EQ(form->SymbolLine1->Caption(), L"");
  EXPECT_EQ(app.Title(), L"Quillon客户端安装程序");
}

TEST_F(ProductInfo, MakerNamesAreReplacedInEveryLanguage) {
  struct Case {
    const wchar_t* lang;
    int column;
    std::wstring short_name, full_name;
    bool full_replaced;
  } cases[] = {
      {L"A", 0, kMakerShortA, kMakerFullA, true},
      {L"B", 1, kMakerShortB, kMakerFullB, true},
      // English searches its short name twice: the full name starts with it, so it is gone
      // before the full-name search runs.
      {L"C", 2, kMakerShortC, kMakerShortC, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lang);
    Reset();
    registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", c.lang);
    WriteProductInfo(
        {{"a12", L""}, {"a13", L"远景信息股份公司"}, {"a16", L""}, {"a17", L"远景"}, {"a18", L""}});
    const std::wstring original = LicenceText(c.column);
    const size_t shorts = Count(original, c.short_name);
    ASSERT_GT(shorts, 3u);
    ASSERT_EQ(Count(original, c.full_name), c.full_replaced ? 1u : shorts);

    auto form = Create();
    const std::wstring text = form->Memo1->text();
    EXPECT_EQ(Count(text, c.short_name), 0u);
    EXPECT_EQ(Count(text, c.full_name), 0u);
    EXPECT_EQ(Count(text, L"远景信息股份公司"), c.full_replaced ? 1u : 0u);
    EXPECT_EQ(Count(text, L"远景"), shorts + (c.full_replaced ? 1u : 0u));
    EXPECT_EQ(form->Memo1->lines().size(), SplitLines(original).size());
    // The full name comes first, on the agreement's second line.
    if (c.full_replaced) {
      EXPECT_EQ(form->Memo1->lines()[1].find(L"远景信息股份公司"), 0u);
    }
  }
}

TEST_F(ProductInfo, LanguageChangeAppliesTheNamesToTheNewAgreement) {
  WriteProductInfo(
      {{"a12", L""}, {"a13", L"Vista Info Co."}, {"a16", L""}, {"a17", L"Vista"}, {"a18", L""}});
  auto form = CreateAndShow();
  form->comboLang->Choose(2);
  const std::wstring text = form->Memo1->text();
  EXPECT_EQ(Count(text, kMakerShortC), 0u);
  EXPECT_NE(text.find(L"Vista Co., Ltd."), std::wstring::npos);
  EXPECT_EQ(form->Memo1->lines().size(), 6u);
}

struct FailureCase {
  const char* what;
  Bytes file;
  const wchar_t* detail_part;  // nullptr: the detail is empty
};

TEST_F(ProductInfo, UnreadableFileEndsTheProgramBeforeTheWizardIsShown) {
  const Bytes packet = ProductInfoPacket(DefaultProductInfo(), code_page);
  Bytes cut = WriteRecord(packet);
  cut.resize(cut.size() / 2);
  const std::string not_packet = "plain text, no packet";
  const FailureCase cases[] = {
      {"missing", {}, nullptr},
      {"not a record", Bytes{'h', 'e', 'l', 'l', 'o'}, L"PInfo.dat"},
      {"empty file", Bytes{}, L"PInfo.dat"},
      {"cut record", cut, L"PInfo.dat"},
      {"body is no packet", WriteRecord(Bytes(not_packet.begin(), not_packet.end())),
       L"数据包"},  // the data packet words of language A
      {"field missing",
       ProductInfoFile({{"a12", L"X"}, {"a18", L"Y"}, {"a17", L""}, {"a13", L""}}, code_page),
       L"a16"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    files->DeleteFile(kPInfo);
    if (std::string(c.what) != "missing") files->AddFile(kPInfo, c.file);
    EXPECT_EQ(RunInstaller(env), 1) << "the exit code of a refused start";
    EXPECT_FALSE(app.ran_main_form);
    ASSERT_EQ(app.boxes.size(), 1u);
    const std::wstring& text = app.boxes[0].text;
    EXPECT_EQ(app.boxes[0].icon, MsgIcon::Information);
    EXPECT_EQ(app.boxes[0].caption, L"提示");
    ASSERT_EQ(text.compare(0, kMissing.size(), kMissing), 0) << ToUtf8(text);
    if (c.detail_part) {
      EXPECT_NE(text.find(c.detail_part), std::wstring::npos) << ToUtf8(text);
    } else {
      EXPECT_EQ(text, kMissing);
    }
  }
}

TEST_F(ProductInfo, MissingFileMessageIsTheSameInEnglish) {
  registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", L"C");
  files->DeleteFile(kPInfo);
  EXPECT_EQ(RunInstaller(env), 1) << "the exit code of a refused start";
  EXPECT_FALSE(app.ran_main_form);
  ASSERT_EQ(app.boxes.size(), 1u);
  EXPECT_EQ(app.boxes[0].text, kMissing);
  EXPECT_EQ(app.boxes[0].caption, L"Hint");
}

TEST_F(ProductInfo, WhatWasReadBeforeAFailureStays) {
  struct Case {
    const char* what;
    ProductInfoFields fields;
    const wchar_t *oem, *oem2;
  } cases[] = {
      {"a16 missing", {{"a12", L"X"}, {"a18", L"Y"}, {"a17", L""}, {"a13", L""}}, L"X", L"Y"},
      {"a18 missing", {{"a12", L"X"}, {"a16", L""}, {"a17", L""}, {"a13", L""}}, L"X", L"earlier"},
      {"a12 missing", {{"a18", L"Y"}, {"a16", L""}, {"a17", L""}, {"a13", L""}}, L"", L"earlier"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    WriteProductInfo(c.fields);
    TfrmClientInstall form(env);
    form.OEMMsg = L"stale";
    form.OEMMsg2 = L"earlier";
    EXPECT_THROW(form.LoadProductInfo(), ProgramEnd);
    EXPECT_EQ(form.OEMMsg, c.oem);
    EXPECT_EQ(form.OEMMsg2, c.oem2);
  }
}

}  // namespace
}  // namespace quillon
