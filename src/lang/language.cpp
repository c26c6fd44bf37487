#include "lang/language.h"

#include "base/error.h"

namespace quillon {

namespace {

struct LanguageState {
  StoredLangReader read_stored;
  std::wstring code;
  bool valid = false;
  bool a = false, b = false, c = false;
};

LanguageState& State() {
  static LanguageState state;
  return state;
}

}  // namespace

void BindLanguage(StoredLangReader read_stored) {
  LanguageState& s = State();
  s = LanguageState{};
  const bool bound = static_cast<bool>(read_stored);
  s.read_stored = std::move(read_stored);
  // Error texts of our own follow the installer's language once it has one.
  SetTextChooser(bound ? [](const LocalText& t) { return LangText(t.a, t.b, t.c); }
                       : TextChooser{nullptr});
}

std::wstring ReadStoredLangCode() {
  const LanguageState& s = State();
  return s.read_stored ? s.read_stored() : std::wstring();
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

std::wstring LangCodeOfItem(int index) {
  return index == 0 ? L"A" : index == 1 ? L"B" : L"C";
}

int ItemOfLangCode(const std::wstring& code) {
  return code == L"B" ? 1 : code == L"C" ? 2 : 0;
}

}  // namespace quillon
