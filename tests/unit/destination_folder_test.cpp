// The destination-folder check: the structure test, the non-ASCII hint, the create question,
// creation of every missing level and both failure texts.
#include "app/destination_folder.h"

#include <gtest/gtest.h>

#include "config/unReg_File.h"
#include "support/installer_fixture.h"

namespace quillon {
namespace {

class DestinationFolder : public InstallerFixture {};

TEST_F(DestinationFolder, NonAsciiMeansAnyCharacterOutsideAscii) {
  EXPECT_FALSE(HasNonAsciiChar(L""));
  EXPECT_FALSE(HasNonAsciiChar(L"C:\\Program Files\\~x"));
  EXPECT_TRUE(HasNonAsciiChar(L"C:\\报表"));
  EXPECT_TRUE(HasNonAsciiChar(L"C:\\caf\u00e9"));
}

TEST_F(DestinationFolder, CheckAsksCreatesOrRefuses) {
  const std::wstring structure = L"目录：%s 结构有误，请检查！";
  const std::wstring hint = L"为了有良好的兼容性，请尽量安装在英文目录下！";
  const std::wstring question = L"文件夹 %s 不存在,是否创建?";
  const std::wstring failure = L"文件夹 %s 不能创建！";
  struct Case {
    const wchar_t* folder;
    bool ask;
    MsgResult answer;
    bool result;
    std::vector<std::wstring> boxes;  // each with %s standing for the folder
    const wchar_t* created;           // a folder that exists afterwards, or nullptr
  };
  const Case cases[] = {
      {L"C:\\A\\B\\C", true, MsgResult::Yes, true, {question}, L"C:\\A\\B\\C"},
      {L"C:\\A\\B\\C", true, MsgResult::No, false, {question}, nullptr},
      {L"C:\\A\\B\\C", false, MsgResult::Yes, true, {}, L"C:\\A\\B\\C"},
      {L"C:\\setup", true, MsgResult::Yes, true, {}, L"C:\\setup"},
      {L"C:\\报表", true, MsgResult::Yes, true, {hint, question}, L"C:\\报表"},
      // Two characters or fewer pass the structure test; a drive alone already exists.
      {L"C:", true, MsgResult::Yes, true, {}, nullptr},
      {L"\\\\server\\share", true, MsgResult::Yes, false, {structure}, nullptr},
      {L"CC:\\x", true, MsgResult::Yes, false, {structure}, nullptr},
      {L"C:/x", false, MsgResult::Yes, false, {structure}, nullptr},
      // No such drive: the creation fails.
      {L"Q:\\x", false, MsgResult::Yes, false, {failure}, nullptr},
      {L"C:\\ro\\x", false, MsgResult::Yes, false, {failure}, nullptr},
  };
  for (const auto& c : cases) {
    Reset();
    files->AddFolder(L"C:\\ro");
    files->SetReadOnly(L"C:\\ro");
    app.QueueAnswer(c.answer);
    const std::wstring folder = c.folder;
    EXPECT_EQ(CheckDestDir(*files, folder, c.ask), c.result) << ToUtf8(folder);
    std::vector<std::wstring> want;
    for (const auto& b : c.boxes) want.push_back(FormatS(b, folder));
    std::vector<std::wstring> got;
    for (const auto& b : app.boxes) got.push_back(b.text);
    EXPECT_EQ(got, want) << ToUtf8(folder);
    if (c.created) {
      EXPECT_TRUE(files->DirectoryExists(c.created)) << ToUtf8(folder);
    }
    if (!c.result) {
      EXPECT_FALSE(files->DirectoryExists(L"C:\\A")) << ToUtf8(folder);
    }
  }
}

TEST_F(DestinationFolder, AnEmptyPathFailsAtCreationWithTheSystemText) {
  for (bool ask : {true, false}) {
    Reset();
    EXPECT_FALSE(CheckDestDir(*files, L"", ask));
    ASSERT_EQ(app.boxes.size(), ask ? 2u : 1u);
    if (ask) {
      EXPECT_EQ(app.boxes[0].text, L"文件夹  不存在,是否创建?");
    }
    const std::wstring& last = app.boxes.back().text;
    EXPECT_EQ(last.rfind(L"文件夹  不能创建！\r\n", 0), 0u) << ToUtf8(last);
    EXPECT_GT(last.size(), std::wstring(L"文件夹  不能创建！\r\n").size()) << "the error's text";
  }
}

TEST_F(DestinationFolder, MessagesAreInTheLanguageInUse) {
  registry.SetString(RootKey::CurrentUser, kProductKey, L"CurLang", L"C");
  InvalidateLanguage();
  app.QueueAnswer(MsgResult::No);
  EXPECT_FALSE(CheckDestDir(*files, L"C:\\中文", true));
  ASSERT_EQ(app.boxes.size(), 2u);
  EXPECT_EQ(app.boxes[0].text, L"Please use english directory name!");
  EXPECT_EQ(app.boxes[1].text, L"The directory C:\\中文 is not exist,do you want to create?");
  EXPECT_EQ(app.boxes[1].buttons, MsgButtons::YesNo);
  app.boxes.clear();
  EXPECT_FALSE(CheckDestDir(*files, L"Q:\\x", false));
  EXPECT_EQ(app.boxes.at(0).text, L"The directory Q:\\x cannot be created!");
  app.boxes.clear();
  EXPECT_FALSE(CheckDestDir(*files, L"Q:x\\", false));
  EXPECT_EQ(app.boxes.at(0).text, L"The Directory is incorrect,please check it!");
}

}  // namespace
}  // namespace quillon
