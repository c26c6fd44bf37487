#include "app/unMsgDialog.h"

#include "base/error.h"
#include "config/unReg_File.h"

namespace quillon {

namespace {

struct LanguageState {
  Registry* registry = nullptr;
  Application* app = nullptr;
  std::wstring code;
  bool valid = false;
  bool a = false, b = false, c = false;
};

LanguageState& State() {
  static LanguageState state;
  return state;
}

}  // namespace

void BindLanguageServices(Registry* registry, Application* app) {
  LanguageState& s = State();
  s = LanguageState{};
  s.registry = registry;
  s.app = app;
  // Error texts of our own follow the installer's language once it has one.
  SetTextChooser(registry ? [](const LocalText& t) { return LangText(t.a, t.b, t.c); }
                          : TextChooser{nullptr});
}

std::wstring ReadStoredLangCode() {
  LanguageState& s = State();
  if (!s.registry) return std::wstring();
  // A failed read means no stored language, that is the default one.
  try {
    return ReadUserRegString(*s.registry, kProductKey, L"CurLang");
  } catch (const Error&) {
    return std::wstring();
  }
}

std::wstring GetCurLang() {
  LanguageState& s = State();
  if (!s.valid) {
    std::wstring code = ReadStoredLangCode();
    if (code.empty()) code = L"A";
    s.code = code;
    s.a = code == L"A";
    s.b = code == L"B";
    s.c = code == L"C";
    s.valid = true;
  }
  return s.code;
}

void UseLanguageForRun(const std::wstring& code) {
  LanguageState& s = State();
  s.code = code;
  s.a = code == L"A";
  s.b = code == L"B";
  s.c = code == L"C";
  s.valid = true;
}

void InvalidateLanguage() {
  State().valid = false;
}

bool LangFlagA() {
  GetCurLang();
  return State().a;
}
bool LangFlagB() {
  GetCurLang();
  return State().b;
}
bool LangFlagC() {
  GetCurLang();
  return State().c;
}

int LangFlagColumn() {
  if (LangFlagA()) return 0;
  if (LangFlagB()) return 1;
  if (LangFlagC()) return 2;
  return -1;
}

std::wstring LangText(const std::wstring& a, const std::wstring& b, const std::wstring& c) {
  const std::wstring& chosen = LangFlagA() ? a : LangFlagB() ? b : c;
  return chosen.empty() ? a : chosen;
}

void ShowHintMsg(const std::wstring& a, const std::wstring& b, const std::wstring& c,
                 const std::wstring& caption, bool as_given) {
  Application* app = State().app;
  if (!app) return;
  const std::wstring text = as_given ? a : LangText(a, b, c);
  const std::wstring title = caption.empty() ? LangText(L"提示", L"提示", L"Hint") : caption;
  app->MessageBox(text, title, MsgIcon::Information, MsgButtons::Ok);
}

bool ShowConfirmMsg(const std::wstring& a, const std::wstring& b, const std::wstring& c) {
  Application* app = State().app;
  if (!app) return false;
  return app->MessageBox(LangText(a, b, c), LangText(L"确认", L"確認", L"Confirm"),
                         MsgIcon::Question, MsgButtons::YesNo) == MsgResult::Yes;
}

std::wstring LangCodeOfItem(int index) {
  return index == 0 ? L"A" : index == 1 ? L"B" : L"C";
}

int ItemOfLangCode(const std::wstring& code) {
  return code == L"B" ? 1 : code == L"C" ? 2 : 0;
}

}  // namespace quillon
