#pragma once
// The system's ANSI code page (CP_ACP). Characters it cannot hold become its default
// character.

#include "platform/ports/code_page.h"

namespace quillon {

class Win32CodePage : public CodePage {
 public:
  std::string ToAnsi(const std::wstring& text) override;
  std::wstring FromAnsi(const std::string& bytes) override;
  std::wstring Name() override;
};

}  // namespace quillon
