#include "formats/ini_reader.h"

#include "base/text.h"

namespace quillon {

namespace {

// The profile reader's blanks: C white space plus the old end-of-file mark Ctrl-Z.
bool IsIniBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r' ||
         c == 0x1A;
}

std::wstring TrimIni(const std::wstring& text, size_t begin, size_t end) {
  while (begin < end && IsIniBlank(text[begin])) ++begin;
  while (end > begin && IsIniBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::wstring TrimIni(const std::wstring& text) {
  return TrimIni(text, 0, text.size());
}

// What the profile reader copies into a 2048-character buffer: one pair of matching quotes
// goes, then the value is cut to fit. The closing quote is dropped by position, so when the
// cut removed it already, the last kept character goes instead.
std::wstring CopyValue(const std::wstring& value) {
  constexpr size_t kBuffer = IniReader::kMaxValueLength + 1;
  size_t start = 0;
  bool quoted = false;
  if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0]) {
    quoted = true;
    start = 1;
  }
  const size_t rest = value.size() - start;
  std::wstring out = value.substr(start, kBuffer - 1);
  if (quoted && kBuffer >= rest && !out.empty()) out.pop_back();
  return out;
}

}  // namespace

IniReader::IniReader(const std::wstring& text) {
  sections_.push_back(Section{});
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != L'\r' && text[end] != L'\n') ++end;
    const std::wstring line = TrimIni(text, pos, end);
    pos = end;
    while (pos < text.size() && (text[pos] == L'\r' || text[pos] == L'\n')) ++pos;
    if (line.empty()) continue;

    if (line[0] == L'[') {
      const size_t close = line.rfind(L']');
      if (close != std::wstring::npos) {
        sections_.push_back(Section{TrimIni(line, 1, close), {}});
        continue;
      }
    }
    Key key;
    const size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) {
      key.name = line;
    } else {
      key.name = TrimIni(line, 0, eq);
      key.value = TrimIni(line, eq + 1, line.size());
    }
    sections_.back().keys.push_back(std::move(key));
  }
}

std::vector<std::wstring> IniReader::SectionNames() const {
  std::vector<std::wstring> names;
  for (size_t i = 1; i < sections_.size(); ++i) {
    if (!sections_[i].name.empty()) names.push_back(sections_[i].name);
  }
  return names;
}

std::optional<std::wstring> IniReader::Find(const std::wstring& section,
                                            const std::wstring& key) const {
  const std::wstring want_section = TrimIni(section);
  const std::wstring want_key = TrimIni(key);
  for (const Section& s : sections_) {
    if (!SameTextAscii(s.name, want_section)) continue;
    for (const Key& k : s.keys) {
      if (!SameTextAscii(k.name, want_key)) continue;
      if (!k.value) return std::nullopt;
      return CopyValue(*k.value);
    }
    return std::nullopt;  // later sections of the same name are never searched
  }
  return std::nullopt;
}

std::wstring IniReader::ReadString(const std::wstring& section, const std::wstring& key,
                                   const std::wstring& fallback) const {
  std::optional<std::wstring> value = Find(section, key);
  return value ? *value : fallback;
}

}  // namespace quillon
