// Error texts of our own follow the language in use, with names and numbers kept inside; the
// tools, which bind no language, keep English.
#include <gtest/gtest.h>

#include "base/error.h"
#include "config/unReg_File.h"
#include "deploy/unZipLib.h"
#include "formats/record_writer.h"
#include "support/installer_fixture.h"

namespace quillon {
namespace {

class ErrorLanguage : public InstallerFixture {};

TEST_F(ErrorLanguage, ADamagedProductFileIsReportedInTheLanguageInUse) {
  struct Case {
    const wchar_t* lang;
    const wchar_t* words;  // the damaged-record words of that language
  };
  const Case cases[] = {{L"A", L"压缩记录"}, {L"B", L"壓縮記錄"}, {L"C", L"Damaged record"}};
  for (const auto& c : cases) {
    Reset();
    registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", c.lang);
    Bytes cut = ProductInfoFile(DefaultProductInfo(), code_page);
    cut.resize(cut.size() - 6);
    files->AddFile(L"C:\\setup\\PInfo.dat", cut);
    EXPECT_THROW(Create(), ProgramEnd);
    ASSERT_EQ(app.boxes.size(), 1u);
    const std::wstring& text = app.boxes[0].text;
    EXPECT_EQ(text.rfind(L"缺少文件，程序结束运行！\r\n", 0), 0u);
    EXPECT_NE(text.find(c.words), std::wstring::npos) << ToUtf8(text);
    EXPECT_NE(text.find(L"PInfo.dat"), std::wstring::npos) << "the name is kept";
    if (*c.lang != L'C') {
      EXPECT_EQ(text.find(L"Damaged"), std::wstring::npos) << ToUtf8(text);
    }
  }
}

TEST(ErrorLanguageUnbound, ToolsKeepEnglish) {
  const Bytes record = WriteRecord(Bytes(300, 'x'));
  Bytes cut(record.begin(), record.begin() + record.size() / 2);
  try {
    UnZipBytes(cut, L"K1.dat");
    ADD_FAILURE() << "no error";
  } catch (const FormatError& e) {
    EXPECT_EQ(e.message().rfind(L"Damaged record \"K1.dat\": ", 0), 0u) << e.what();
  }
}

}  // namespace
}  // namespace quillon
