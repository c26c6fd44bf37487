// The process-wide language state and the three-language pickers and boxes.
#include <gtest/gtest.h>

#include "app/unMsgDialog.h"
#include "config/unReg_File.h"
#include "platform/fake/fake_application.h"
#include "platform/fake/fake_registry.h"

namespace quillon {
namespace {

class Language : public ::testing::Test {
 protected:
  void SetUp() override { BindLanguageServices(&reg, &app); }
  void TearDown() override { BindLanguageServices(nullptr, nullptr); }
  void Store(const std::wstring& code) {
    reg.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", code);
  }
  FakeRegistry reg;
  FakeApplication app;
};

TEST_F(Language, StoredCodeSetsExactlyItsFlag) {
  struct Case {
    const wchar_t* stored;  // nullptr: no value
    const wchar_t* code;
    int column;  // -1: no flag
    const wchar_t* picked;
  } cases[] = {
      {nullptr, L"A", 0, L"a"}, {L"", L"A", 0, L"a"},   {L"A", L"A", 0, L"a"},
      {L"B", L"B", 1, L"b"},    {L"C", L"C", 2, L"c"},  {L"a", L"a", -1, L"c"},
      {L"b", L"b", -1, L"c"},   {L"D", L"D", -1, L"c"}, {L"AB", L"AB", -1, L"c"},
  };
  for (const Case& c : cases) {
    BindLanguageServices(&reg, &app);
    if (c.stored) Store(c.stored);
    SCOPED_TRACE(c.stored ? c.stored : L"(none)");
    EXPECT_EQ(GetCurLang(), c.code);
    EXPECT_EQ(LangFlagColumn(), c.column);
    EXPECT_EQ(LangFlagA(), c.column == 0);
    EXPECT_EQ(LangFlagB(), c.column == 1);
    EXPECT_EQ(LangFlagC(), c.column == 2);
    EXPECT_EQ(LangText(L"a", L"b", L"c"), c.picked);
    reg.DeleteTree(RootKey::CurrentUser, L"SoftWare");
  }
}

TEST_F(Language, CodeIsKeptUntilInvalidatedAndReadingStoresNothing) {
  EXPECT_EQ(GetCurLang(), L"A");
  EXPECT_FALSE(reg.KeyExists(RootKey::CurrentUser, kProductKey));
  Store(L"B");
  EXPECT_EQ(GetCurLang(), L"A");
  InvalidateLanguage();
  EXPECT_EQ(GetCurLang(), L"B");
  Store(L"C");
  InvalidateLanguage();
  EXPECT_EQ(GetCurLang(), L"C");
  EXPECT_TRUE(LangFlagC());
  EXPECT_FALSE(LangFlagB());
}

TEST_F(Language, UnreadableValueMeansTheDefaultLanguage) {
  FakeRegistry::Value dword;
  dword.kind = RegValueKind::Dword;
  dword.dword = 2;
  reg.Set(RootKey::CurrentUser, kProductKey, L"CurLang", dword);
  EXPECT_EQ(ReadStoredLangCode(), L"");
  EXPECT_EQ(GetCurLang(), L"A");
}

TEST_F(Language, LangTextFallsBackToTheFirstText) {
  struct Case {
    const wchar_t* code;
    const wchar_t *a, *b, *c, *expected;
  } cases[] = {
      {L"A", L"删除", L"", L"", L"删除"}, {L"B", L"删除", L"", L"", L"删除"},
      {L"C", L"删除", L"", L"", L"删除"}, {L"x", L"删除", L"", L"", L"删除"},
      {L"B", L"a", L"", L"c", L"a"},      {L"C", L"a", L"b", L"", L"a"},
      {L"A", L"", L"b", L"c", L""},
  };
  for (const Case& c : cases) {
    Store(c.code);
    InvalidateLanguage();
    EXPECT_EQ(LangText(c.a, c.b, c.c), c.expected) << c.code << " " << c.a;
  }
}

TEST_F(Language, HintBoxTextAndCaption) {
  struct Case {
    const wchar_t* code;
    const wchar_t* caption;
    bool as_given;
    const wchar_t *text, *shown_caption;
  } cases[] = {
      {L"A", L"", false, L"甲", L"提示"},    {L"B", L"", false, L"乙", L"提示"},
      {L"C", L"", false, L"three", L"Hint"}, {L"C", L"", true, L"甲", L"Hint"},
      {L"C", L"Own", true, L"甲", L"Own"},   {L"q", L"", false, L"three", L"Hint"},
  };
  for (const Case& c : cases) {
    Store(c.code);
    InvalidateLanguage();
    app.boxes.clear();
    ShowHintMsg(L"甲", L"乙", L"three", c.caption, c.as_given);
    ASSERT_EQ(app.boxes.size(), 1u);
    EXPECT_EQ(app.boxes[0].text, c.text) << c.code;
    EXPECT_EQ(app.boxes[0].caption, c.shown_caption) << c.code;
    EXPECT_EQ(app.boxes[0].icon, MsgIcon::Information);
    EXPECT_EQ(app.boxes[0].buttons, MsgButtons::Ok);
  }
}

TEST_F(Language, ConfirmBoxAsksYesOrNo) {
  struct Case {
    const wchar_t* code;
    MsgResult answer;
    const wchar_t *text, *caption;
    bool yes;
  } cases[] = {
      {L"A", MsgResult::Yes, L"甲", L"确认", true},
      {L"B", MsgResult::No, L"乙", L"確認", false},
      {L"C", MsgResult::Yes, L"three", L"Confirm", true},
  };
  for (const Case& c : cases) {
    Store(c.code);
    InvalidateLanguage();
    app.boxes.clear();
    app.QueueAnswer(c.answer);
    EXPECT_EQ(ShowConfirmMsg(L"甲", L"乙", L"three"), c.yes);
    ASSERT_EQ(app.boxes.size(), 1u);
    EXPECT_EQ(app.boxes[0].text, c.text);
    EXPECT_EQ(app.boxes[0].caption, c.caption);
    EXPECT_EQ(app.boxes[0].icon, MsgIcon::Question);
    EXPECT_EQ(app.boxes[0].buttons, MsgButtons::YesNo);
  }
}

TEST(LanguageBox, ItemsAndCodes) {
  EXPECT_EQ(LangCodeOfItem(0), L"A");
  EXPECT_EQ(LangCodeOfItem(1), L"B");
  EXPECT_EQ(LangCodeOfItem(2), L"C");
  EXPECT_EQ(LangCodeOfItem(-1), L"C");
  EXPECT_EQ(ItemOfLangCode(L"A"), 0);
  EXPECT_EQ(ItemOfLangCode(L"B"), 1);
  EXPECT_EQ(ItemOfLangCode(L"C"), 2);
  EXPECT_EQ(ItemOfLangCode(L"c"), 0);
  EXPECT_EQ(ItemOfLangCode(L""), 0);
}

}  // namespace
}  // namespace quillon
