#pragma once
// INI text read by the rules of the Windows profile reader (GetPrivateProfileStringW with a
// 2048-character buffer), for platforms without it and for tests:
// - lines end at any run of CR and LF; blanks (tab, LF, VT, FF, CR, space, U+001A) around
//   lines, names and values are dropped;
// - "[name]" starts a section (the last "]" closes the name, text after it is ignored); a
//   line starting with "[" without any "]" is an ordinary key line;
// - a key line is name "=" value split at the first "="; a line without "=" names a key that
//   has no value and is never found; lines starting with ";" are comments, which the profile
//   reader keeps as keys whose names begin with ";";
// - keys before the first section line belong to the empty section name;
// - lookups drop blanks around the names asked for and ignore ASCII letter case; only the first
//   section of a name is searched, and the first key of a name in it wins;
// - one pair of matching quotes (" or ') around a value is removed, and a value is cut at
//   2047 characters (a quoted value that long loses its closing quote to the cut).

#include <optional>
#include <string>
#include <vector>

namespace quillon {

class IniReader {
 public:
  static constexpr size_t kMaxValueLength = 2047;

  explicit IniReader(const std::wstring& text);

  // Names of the sections in file order, as the profile reader lists them: duplicates kept,
  // empty names left out.
  std::vector<std::wstring> SectionNames() const;
  // The value of `key` in the first section named `section`, as the profile reader returns
  // it; nothing when there is no such key or it has no "=".
  std::optional<std::wstring> Find(const std::wstring& section, const std::wstring& key) const;
  // The value, or `fallback` (returned as given) when Find finds nothing.
  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& fallback = std::wstring()) const;

 private:
  struct Key {
    std::wstring name;
    std::optional<std::wstring> value;  // nothing for a line without "="
  };
  struct Section {
    std::wstring name;
    std::vector<Key> keys;
  };
  // The first section is the unnamed one that holds the keys before any section line.
  std::vector<Section> sections_;
};

}  // namespace quillon
