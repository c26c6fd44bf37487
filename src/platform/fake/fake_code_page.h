#pragma once
// A code page chosen by name ("GBK", "BIG5", "CP1252", "UTF-8", ...) standing in for the
// system's ANSI code page in tests and tools. Natively it converts with iconv; in Windows
// builds with the C runtime's locale functions (names map to code pages 936, 950, 1252...).
// Bytes that are no character of the code page become U+FFFD; characters it lacks become "?".

#include <memory>
#include <string>

#include "platform/ports/code_page.h"

namespace quillon {

class FakeCodePage : public CodePage {
 public:
  // Error when the name is unknown to the converter.
  explicit FakeCodePage(std::string name = "GBK");
  ~FakeCodePage() override;
  FakeCodePage(const FakeCodePage&) = delete;
  FakeCodePage& operator=(const FakeCodePage&) = delete;

  std::string ToAnsi(const std::wstring& text) override;
  std::wstring FromAnsi(const std::string& bytes) override;
  std::wstring Name() override { return std::wstring(name_.begin(), name_.end()); }

  const std::string& name() const { return name_; }

 private:
  struct Impl;
  std::string name_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quillon
