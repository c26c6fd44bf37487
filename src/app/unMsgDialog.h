#pragma once
// The process-wide language state and the three-language text picker and message boxes
// every part of the installer uses. Code hands all three texts over and never branches on
// the language itself.

#include <string>

#include "platform/ports/application.h"
#include "platform/ports/registry.h"

namespace quillon {

// Where the language state reads "CurLang" and where the boxes are shown. Bound once at
// start-up (and by each test); until bound, the language reads as "A" and boxes are not shown.
void BindLanguageServices(Registry* registry, Application* app);

// The stored "CurLang" under the product key as it is; the empty text when it is missing or
// cannot be read (no key, no access, a value that is no string).
std::wstring ReadStoredLangCode();
// The current language code: read from "CurLang" under the product key the first time (an
// empty value counts as "A"), then kept until InvalidateLanguage.
std::wstring GetCurLang();
// Makes `code` the current language of this run without reading or storing anything.
void UseLanguageForRun(const std::wstring& code);
// Clears the validity mark so the next GetCurLang reads the registry again.
void InvalidateLanguage();
// The three flags: set exactly when the current code is "A", "B" or "C".
bool LangFlagA();
bool LangFlagB();
bool LangFlagC();
// The flag that is set as a column of three-language tables: 0 A, 1 B, 2 C; -1 when the
// current code is none of them.
int LangFlagColumn();

// The A text for flag A, the B text for flag B, the C text otherwise; an empty choice gives
// the A text.
std::wstring LangText(const std::wstring& a, const std::wstring& b, const std::wstring& c);

// Information box with OK. Text: `a` itself when `as_given`, else LangText(a, b, c). Caption:
// `caption` when non-empty, else LangText("提示", "提示", "Hint").
void ShowHintMsg(const std::wstring& a, const std::wstring& b, const std::wstring& c,
                 const std::wstring& caption = {}, bool as_given = false);
// Yes/No question with the question icon; true when the answer is Yes.
bool ShowConfirmMsg(const std::wstring& a, const std::wstring& b, const std::wstring& c);

// Language box item index <-> code.
std::wstring LangCodeOfItem(int index);
int ItemOfLangCode(const std::wstring& code);

}  // namespace quillon
