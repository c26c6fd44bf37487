#pragma once
// The installer's message boxes in three languages, and the binding of the language state
// (lang/language.h) and of the boxes to the platform at start-up.

#include <string>

#include "lang/language.h"
#include "platform/ports/application.h"
#include "platform/ports/registry.h"

namespace quillon {

// Where the language state reads "CurLang" (under the product key) and where the boxes are
// shown. Bound once at start-up (and by each test); until bound, the language reads as "A"
// and boxes are not shown. A stored value that cannot be read (no key, no access, a value
// that is no string) counts as none stored.
void BindLanguageServices(Registry* registry, Application* app);

// Information box with OK. Text: `a` itself when `as_given`, else LangText(a, b, c). Caption:
// `caption` when non-empty, else LangText("提示", "提示", "Hint").
void ShowHintMsg(const std::wstring& a, const std::wstring& b, const std::wstring& c,
                 const std::wstring& caption = {}, bool as_given = false);
// Yes/No question with the question icon; true when the answer is Yes.
bool ShowConfirmMsg(const std::wstring& a, const std::wstring& b, const std::wstring& c);

}  // namespace quillon
