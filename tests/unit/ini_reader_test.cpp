// The INI reader against the answers of the Windows profile reader on the files of
// tests/data/ini_cases (see the table there).
#include "formats/ini_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "base/text.h"
#include "data/ini_cases/ini_cases.h"

namespace quillon {
namespace {

const IniReader& CaseFile(const std::string& name) {
  static std::map<std::string, IniReader> cache;
  auto it = cache.find(name);
  if (it == cache.end()) {
    std::ifstream in(std::string(QUILLON_TEST_DATA) + "/ini_cases/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    it = cache.emplace(name, IniReader(FromUtf8(bytes))).first;
  }
  return it->second;
}

TEST(IniReader, AnswersAsTheProfileReader) {
  for (const ini_cases::Query& q : ini_cases::kQueries) {
    const std::optional<std::wstring> got = CaseFile(q.file).Find(q.section, q.key);
    const std::string where = std::string(q.file) + " [" + ToUtf8(q.section) + "] " + ToUtf8(q.key);
    if (q.expected == nullptr) {
      EXPECT_FALSE(got.has_value()) << where << " gave " << ToUtf8(got.value_or(L""));
      continue;
    }
    const std::wstring want = q.repeat ? std::wstring(q.repeat, q.expected[0]) : q.expected;
    ASSERT_TRUE(got.has_value()) << where;
    EXPECT_EQ(*got, want) << where;
  }
}

TEST(IniReader, SectionListsAsTheProfileReader) {
  for (const ini_cases::Sections& s : ini_cases::kSections) {
    std::vector<std::wstring> want;
    for (const wchar_t* name : s.names) {
      if (name == nullptr) break;
      want.push_back(name);
    }
    EXPECT_EQ(CaseFile(s.file).SectionNames(), want) << s.file;
  }
}

TEST(IniReader, WideTextAndFallback) {
  // Only ASCII blanks are dropped: an ideographic space stays part of the value.
  const IniReader ini(L"[\x5B89\x88C5]\r\n\x540D=\x3000\x503C\x3000\r\n");
  EXPECT_EQ(ini.ReadString(L"\x5B89\x88C5", L"\x540D"), L"\x3000\x503C\x3000");
  EXPECT_EQ(ini.ReadString(L"\x5B89\x88C5", L"missing", L"fallback"), L"fallback");
  EXPECT_EQ(ini.SectionNames(), std::vector<std::wstring>{L"\x5B89\x88C5"});
}

}  // namespace
}  // namespace quillon
