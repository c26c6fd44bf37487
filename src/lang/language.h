#pragma once
// The process-wide language state and the three-language text picker that every room of the
// installer uses (the wizard, the configuration, the deployment's error texts). Code hands all
// three texts over and never branches on the language itself.

#include <functional>
#include <string>

namespace quillon {

// Reads the stored language code ("CurLang" under the product key) as it is; the empty text
// when none is stored or it cannot be read.
using StoredLangReader = std::function<std::wstring()>;

// Where the language state reads the stored code. Bound once at start-up (and by each test);
// unbound (nullptr), the language reads as "A". Bound, the error texts of our own follow the
// language too.
void BindLanguage(StoredLangReader read_stored);

// The stored code as it is; the empty text when unbound or none is stored.
std::wstring ReadStoredLangCode();
// The current language code: the stored one the first time it is asked for (an empty value
// counts as "A"), then kept until InvalidateLanguage.
std::wstring GetCurLang();
// Makes `code` the current language of this run without reading or storing anything.
void UseLanguageForRun(const std::wstring& code);
// Clears the validity mark so the next GetCurLang reads the stored code again.
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

// Language box item index <-> code.
std::wstring LangCodeOfItem(int index);
int ItemOfLangCode(const std::wstring& code);

}  // namespace quillon
