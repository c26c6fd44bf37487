// Error texts of our own follow the language in use, with names and numbers kept inside; the
// tools, which bind no language, keep English.
#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "base/error.h"
#include "config/setup_config.h"
#include "config/unReg_File.h"
#include "deploy/install_manifest.h"
#include "deploy/unFileAndDir.h"
#include "deploy/unZipLib.h"
#include "formats/datasnap.h"
#include "formats/record_writer.h"
#include "office/unPub_Excel.h"
#include "support/installer_fixture.h"

namespace quillon {
namespace {

class ErrorLanguage : public InstallerFixture {
 public:
  // The fakes, for the cases that raise the errors.
  using InstallerFixture::code_page;
  using InstallerFixture::files;
  using InstallerFixture::registry;
  using InstallerFixture::resources;
};

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

// A data packet of one text field cut inside its only row.
Bytes PacketCutInsideItsRow() {
  datasnap::Packet packet;
  packet.columns.push_back(datasnap::ZStringColumn("Caption", 40));
  packet.rows.push_back({0, {datasnap::ZStringValue("Quillon")}});
  Bytes bytes = datasnap::WritePacket(packet);
  bytes.resize(bytes.size() - 3);
  return bytes;
}

TEST_F(ErrorLanguage, ErrorsOfOurOwnReadInTheInstallersLanguageWithTheirNamesKept) {
  struct Case {
    const char* what;
    std::function<void(ErrorLanguage&)> raise;
    const wchar_t* kept;      // a name or number, the same in every language
    const wchar_t* words[3];  // the words of languages A, B and C
  };
  const Case cases[] = {
      {"refused registry write",
       [](ErrorLanguage& t) {
         t.registry.DenyWrites(RootKey::LocalMachine);
         WriteRegString(t.registry, RootKey::LocalMachine, kProductKey, L"COMUser", L"sa");
       },
       L"'COMUser'",
       {L"无法写入注册表值", L"無法寫入登錄值", L"Failed to set data for"}},
      {"value of the wrong type",
       [](ErrorLanguage& t) {
         FakeRegistry::Value number;
         number.kind = RegValueKind::Dword;
         t.registry.Set(RootKey::CurrentUser, kProductKey, L"sDestDir", number);
         ReadUserRegString(t.registry, kProductKey, L"sDestDir");
       },
       L"'sDestDir'",
       {L"数据类型有误", L"資料類型有誤", L"Invalid data type for"}},
      {"missing payload blob",
       [](ErrorLanguage& t) { OpenPayload(t.resources, L"MODHOOKDLL"); },
       L"\"MODHOOKDLL\"",
       {L"程序中缺少安装文件", L"程式中缺少安裝檔案", L"is missing from the program"}},
      {"damaged data packet",
       [](ErrorLanguage&) { datasnap::ReadPacket(PacketCutInsideItsRow()); },
       L"\"Caption\"",
       {L"数据包已损坏：第 1 行（共 1 行）的字段 \"Caption\"",
        L"資料封包已損壞：第 1 列（共 1 列）的欄位 \"Caption\"",
        L"Damaged data packet: field \"Caption\" of row 1 of 1"}},
      {"folder that cannot be made",
       [](ErrorLanguage& t) {
         t.files->AddFile(L"C:\\Tovrin\\file.txt", "x");
         EnsureFolder(*t.files, L"C:\\Tovrin\\file.txt\\Icon");
       },
       L"C:\\Tovrin\\file.txt\\Icon",
       {L"不能建立目录：", L"不能建立目錄：", L"Cannot create directory: "}},
      {"empty update stamp file",
       [](ErrorLanguage& t) {
         t.files->AddFile(L"C:\\Tovrin\\Stampfile.INI", "");
         ReadUpdateStamp(*t.files, t.code_page, L"C:\\Tovrin");
       },
       L"\"C:\\Tovrin\\Stampfile.INI\"",
       {L"是空的", L"是空的", L"is empty"}},
      {"Excel version text",
       [](ErrorLanguage&) { MajorVersion(L"sixteen"); },
       L"\"sixteen\"",
       {L"不是数字", L"不是數字", L"which is not a number"}},
  };
  const wchar_t* const langs[] = {L"A", L"B", L"C"};
  for (const Case& c : cases) {
    for (int lang = 0; lang < 3; ++lang) {
      Reset();
      registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", langs[lang]);
      try {
        c.raise(*this);
        ADD_FAILURE() << c.what << ": no error";
      } catch (const Error& e) {
        const std::wstring text = e.message();
        const std::string shown =
            c.what + std::string(" in ") + ToUtf8(langs[lang]) + ": " + ToUtf8(text);
        EXPECT_NE(text.find(c.words[lang]), std::wstring::npos) << shown;
        EXPECT_NE(text.find(c.kept), std::wstring::npos) << shown;
        if (lang != 2) {
          EXPECT_EQ(text.find(c.words[2]), std::wstring::npos) << shown;
        }
        EXPECT_NE(std::string(e.what()).find(ToUtf8(c.words[2])), std::string::npos)
            << c.what << ": what() keeps English: " << e.what();
      }
    }
  }
}

TEST_F(ErrorLanguage, TheLanguageIsChosenWhenTheErrorIsShown) {
  try {
    OpenPayload(resources, L"MODHOOKDLL");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(e.message().find(L"程序中缺少安装文件"), std::wstring::npos) << e.what();
    registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", L"C");
    InvalidateLanguage();
    EXPECT_NE(e.message().find(L"is missing from the program"), std::wstring::npos);
  }
}

TEST_F(ErrorLanguage, OutOfMemoryIsShownInTheLanguageInUse) {
  const wchar_t* const langs[] = {L"A", L"B", L"C"};
  const wchar_t* const texts[] = {L"内存不足", L"記憶體不足", L"Out of memory"};
  for (int lang = 0; lang < 3; ++lang) {
    Reset();
    registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", langs[lang]);
    app.HandleEvent([] { throw std::bad_alloc(); });
    ASSERT_EQ(app.boxes.size(), 1u);
    EXPECT_EQ(app.boxes[0].text, texts[lang]);
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
