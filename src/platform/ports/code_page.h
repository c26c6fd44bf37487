#pragma once
// The system's ANSI code page: text files the program reads and writes, and the bytes of
// encoded texts, are in it.

#include <string>

namespace quillon {

class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual std::string ToAnsi(const std::wstring& text) = 0;
  virtual std::wstring FromAnsi(const std::string& bytes) = 0;
  // The code page's name as the system gives it ("936"); empty when it cannot tell.
  virtual std::wstring Name() { return std::wstring(); }
};

}  // namespace quillon
