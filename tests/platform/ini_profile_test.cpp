// Our INI reader against the Windows profile reader: the same files, the same questions, the
// same answers (GetPrivateProfileStringW with a 2048-character buffer, and the section list).
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/text.h"
#include "data/ini_cases/ini_cases.h"
#include "formats/ini_reader.h"

namespace quillon {
namespace {

// The case files through Wine's Z: drive, which maps the Unix root.
std::wstring CasePath(const char* file) {
  std::wstring path = L"Z:" + FromUtf8(std::string(QUILLON_PLATFORM_TEST_DATA) + "/ini_cases/" + file);
  for (auto& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

IniReader OurReader(const char* file) {
  std::ifstream in(std::string(QUILLON_PLATFORM_TEST_DATA) + "/ini_cases/" + file,
                   std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return IniReader(FromUtf8(bytes));
}

std::wstring Expected(const ini_cases::Query& q) {
  return q.repeat ? std::wstring(q.repeat, q.expected[0]) : std::wstring(q.expected);
}

TEST(IniProfile, OurReaderAnswersAsTheProfileReader) {
  const wchar_t kAbsent[] = L"\x01absent\x02";
  for (const auto& q : ini_cases::kQueries) {
    const std::wstring path = CasePath(q.file);
    std::vector<wchar_t> buf(2048, L'\0');
    const DWORD n = GetPrivateProfileStringW(q.section, q.key, kAbsent, buf.data(),
                                             static_cast<DWORD>(buf.size()), path.c_str());
    const std::wstring windows(buf.data(), n);
    const auto ours = OurReader(q.file).Find(q.section, q.key);
    const std::string where = std::string(q.file) + " [" + ToUtf8(q.section) + "] " + ToUtf8(q.key);
    if (!q.expected) {
      EXPECT_EQ(windows, kAbsent) << where;
      EXPECT_FALSE(ours.has_value()) << where;
    } else {
      EXPECT_EQ(windows, Expected(q)) << where;
      ASSERT_TRUE(ours.has_value()) << where;
      EXPECT_EQ(*ours, windows) << where;
    }
  }
}

TEST(IniProfile, SectionListsAgree) {
  for (const auto& s : ini_cases::kSections) {
    std::vector<wchar_t> buf(4096, L'\0');
    const DWORD n = GetPrivateProfileSectionNamesW(buf.data(), static_cast<DWORD>(buf.size()),
                                                   CasePath(s.file).c_str());
    std::vector<std::wstring> windows;
    for (const wchar_t* p = buf.data(); p < buf.data() + n && *p; p += wcslen(p) + 1) {
      windows.push_back(p);
    }
    EXPECT_EQ(OurReader(s.file).SectionNames(), windows) << s.file;
  }
}

}  // namespace
}  // namespace quillon
