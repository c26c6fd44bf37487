// INI text: any bytes as UTF-8 text; every section and key the text names is looked up.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/text.h"
#include "formats/ini_reader.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring text =
      quillon::FromUtf8(std::string(reinterpret_cast<const char*>(data), size));
  const quillon::IniReader ini(text);
  std::vector<std::wstring> sections = ini.SectionNames();
  sections.push_back(L"");
  for (const std::wstring& section : sections) {
    // Every key-like piece of the text is asked for in every section.
    for (const std::wstring& line : quillon::SplitLines(text)) {
      const std::wstring key = line.substr(0, line.find(L'='));
      const std::optional<std::wstring> value = ini.Find(section, key);
      if (value) FUZZ_CHECK(value->size() <= quillon::IniReader::kMaxValueLength);
    }
  }
  return 0;
}
