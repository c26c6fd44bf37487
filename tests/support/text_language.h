#pragma once
// Our own error texts chosen in one language for as long as the object lives, as the
// installer's language state chooses them: 'A' simplified Chinese, 'B' traditional Chinese,
// 'C' English. Afterwards no language is bound again (English, as in the tools).

#include "base/error.h"

namespace quillon {

class ScopedTextLanguage {
 public:
  explicit ScopedTextLanguage(char code) {
    const TextChooser a = [](const LocalText& t) { return t.a; };
    const TextChooser b = [](const LocalText& t) { return t.b; };
    const TextChooser c = [](const LocalText& t) { return t.c; };
    SetTextChooser(code == 'A' ? a : code == 'B' ? b : c);
  }
  ~ScopedTextLanguage() { SetTextChooser(nullptr); }
  ScopedTextLanguage(const ScopedTextLanguage&) = delete;
  ScopedTextLanguage& operator=(const ScopedTextLanguage&) = delete;
};

}  // namespace quillon
