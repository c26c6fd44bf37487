// INI text: any bytes as UTF-8 text; the sections and keys the text names are looked up, the
// first 16 section names against the first 16 key-like lines (a lookup is linear in the
// text, and asking every one of each made a long input cost seconds).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "formats/ini_reader.h"
#include "fuzz_check.h"

namespace {
constexpr size_t kAsked = 16;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text =
      quillon::FromUtf8(std::string(reinterpret_cast<const char*>(data), size));
  const quillon::IniReader ini(text);
  std::vector<std::wstring> sections = ini.SectionNames();
  if (sections.size() > kAsked) sections.resize(kAsked);
  sections.push_back(L"");
  std::vector<std::wstring> lines = quillon::SplitLines(text);
  if (lines.size() > kAsked) lines.resize(kAsked);
  for (const std::wstring& section : sections) {
    for (const std::wstring& line : lines) {
      const std::wstring key = line.substr(0, line.find(L'='));
      const std::optional<std::wstring> value = ini.Find(section, key);
      if (value) FUZZ_CHECK(value->size() <= quillon::IniReader::kMaxValueLength);
    }
  }
  return 0;
}
