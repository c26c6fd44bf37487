// The setup configuration beside the installer: plain file or encoded twin, the key table,
// flags, icon paths, AlignToCenter; and the update stamp of an installed client.
#include "config/setup_config.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "config/unReg_File.h"
#include "formats/base64.h"
#include "support/installer_fixture.h"

namespace quillon {
namespace {

const wchar_t kPlain[] = L"C:\\setup\\SysSetup.ini";
const wchar_t kTwin[] = L"C:\\setup\\SysSetup2.ini";

class SetupConfigTest : public InstallerFixture {
 protected:
  void Plain(const std::wstring& text) { files->AddFile(kPlain, code_page.ToAnsi(text)); }
  void Twin(const std::wstring& text) {
    const std::string ansi = code_page.ToAnsi(text);
    files->AddFile(kTwin, EncodeConfigTwin(Bytes(ansi.begin(), ansi.end())));
  }
  // The wizard form as built, without its creation steps, and one configuration reading.
  std::unique_ptr<TfrmClientInstall> Read() {
    auto form = std::make_unique<TfrmClientInstall>(env);
    form->ReadSetupConfig();
    return form;
  }
  std::optional<std::wstring> Stored(const wchar_t* name) {
    auto v = registry.Get(RootKey::CurrentUser, kProductKey, name);
    if (!v) return std::nullopt;
    return v->text;
  }
};

const wchar_t kFull[] =
    L"[Setup]\r\n"
    L"DEFAULT_PATH=D:\\Reports\r\n"
    L"IMPORT_DATA_HINT=导入样例\r\n"
    L"DEFAULT_DB=QDemo\r\n"
    L"EXTERAL_DIR_C=Extra\r\n"
    L"LoginIP=10.0.0.5\r\n"
    L"LoginDB=Main\r\n"
    L"NoDisplayLoginIP=1\r\n"
    L"NoDisplayLoginDB=1\r\n"
    L"NoLoginMenu=1\r\n"
    L"LoginMenuCaption=报表登录\r\n"
    L"NoExcelClient=1\r\n"
    L"NoExcelAgent=1\r\n"
    L"SilenceInstall=1\r\n"
    L"AutoSetIE=1\r\n"
    L"IPForSetIE=10.0.0.6\r\n"
    L"PortForSetIE=8080\r\n"
    L"CreateShortCutForIE=1\r\n"
    L"ShortCutNameForIE=Web 报表\r\n"
    L"ExcelClientIcon=icons\\client.ico\r\n"
    L"ExcelAgentIcon=agent.ico\r\n"
    L"ExcelClientCaption=Client 名\r\n"
    L"ExcelAgentCaption=Agent 名\r\n"
    L"AlignToCenter=1\r\n";

void ExpectFull(TfrmClientInstall& f) {
  EXPECT_EQ(f.edDir->text(), L"D:\\Reports");
  EXPECT_EQ(f.chkDemoData->caption(), L"导入样例");
  EXPECT_EQ(f.edDBName->text(), L"QDemo");
  EXPECT_EQ(f.ExFileDir, L"Extra");
  EXPECT_EQ(f.sLoginIPForShortCut, L"10.0.0.5");
  EXPECT_EQ(f.sLoginDBForShortCut, L"Main");
  EXPECT_TRUE(f.bNoDisplayLoginIP);
  EXPECT_TRUE(f.bNoDisplayLoginDB);
  EXPECT_TRUE(f.bNoLoginMenu);
  EXPECT_EQ(f.sLoginMenuCaption, L"报表登录");
  EXPECT_TRUE(f.bNoExcelClient);
  EXPECT_TRUE(f.bNoExcelAgent);
  EXPECT_TRUE(f.bSilenceInstall);
  EXPECT_TRUE(f.bAutoSetIE);
  EXPECT_EQ(f.IPForSetIE, L"10.0.0.6");
  EXPECT_EQ(f.PortForSetIE, L"8080");
  EXPECT_TRUE(f.bCreateShortCutForIE);
  EXPECT_EQ(f.ShortCutNameForIE, L"Web 报表");
  EXPECT_EQ(f.sIconPath_Client, L"C:\\setup\\icons\\client.ico");
  EXPECT_EQ(f.sIconPath_Agent, L"C:\\setup\\agent.ico");
  EXPECT_EQ(f.sCaption_Client, L"Client 名");
  EXPECT_EQ(f.sCaption_Agent, L"Agent 名");
}

TEST_F(SetupConfigTest, EveryKeyReachesItsTargetFromEitherFile) {
  for (bool twin : {false, true}) {
    SCOPED_TRACE(twin ? "twin" : "plain");
    Reset();
    files->AddFile(L"C:\\setup\\icons\\client.ico", std::string("ico"));
    files->AddFile(L"C:\\setup\\agent.ico", std::string("ico"));
    twin ? Twin(kFull) : Plain(kFull);
    auto form = Read();
    ExpectFull(*form);
    EXPECT_EQ(Stored(L"AlignToCenter"), L"1");
  }
}

TEST_F(SetupConfigTest, PlainFileWinsAndNothingIsWrittenOrDeleted) {
  struct Case {
    const char* what;
    bool plain, twin, read_only;
    const wchar_t* dir;
  } cases[] = {
      {"both", true, true, false, L"D:\\Plain"},
      {"twin only", false, true, false, L"D:\\Twin"},
      {"twin only, read-only folder", false, true, true, L"D:\\Twin"},
      {"neither", false, false, false, L"C:\\Tovrin"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    if (c.plain) Plain(L"[S]\r\nDEFAULT_PATH=D:\\Plain\r\n");
    if (c.twin) Twin(L"[S]\r\nDEFAULT_PATH=D:\\Twin\r\n");
    if (c.read_only) files->SetReadOnly(L"C:\\setup");
    const auto before = files->ListAll();
    auto form = Read();
    EXPECT_EQ(form->edDir->text(), c.dir);
    EXPECT_EQ(files->ListAll(), before);
    EXPECT_EQ(files->FileExists(kPlain), c.plain);
  }
}

TEST_F(SetupConfigTest, NeitherFileChangesAndStoresNothing) {
  auto form = std::make_unique<TfrmClientInstall>(env);
  form->edDir->SetText(L"E:\\Kept");
  form->bSilenceInstall = true;
  form->ReadSetupConfig();
  EXPECT_EQ(form->edDir->text(), L"E:\\Kept");
  EXPECT_TRUE(form->bSilenceInstall);
  EXPECT_FALSE(registry.KeyExists(RootKey::CurrentUser, kProductKey));
}

TEST_F(SetupConfigTest, OnlyTheFirstSectionCounts) {
  struct Case {
    const char* what;
    const wchar_t* text;
    const wchar_t* dir;
    bool silent;
    const wchar_t* align;
  } cases[] = {
      {"two sections",
       L"[Setup]\r\nDEFAULT_PATH=D:\\One\r\n[More]\r\nSilenceInstall=1\r\n"
       L"AlignToCenter=1\r\n",
       L"D:\\One", false, L"0"},
      {"empty first section", L"[Setup]\r\n[More]\r\nDEFAULT_PATH=D:\\Two\r\nSilenceInstall=1\r\n",
       L"C:\\Tovrin", false, L"0"},
      {"blank path", L"[Setup]\r\nDEFAULT_PATH=   \r\nSilenceInstall=1\r\n", L"C:\\Tovrin", true,
       L"0"},
      {"names ignore case",
       L"[x]\r\ndefault_path = D:\\Three \r\nsilenceinstall=1\r\n"
       L"ALIGNTOCENTER=1\r\n",
       L"D:\\Three", true, L"1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    Plain(c.text);
    auto form = Read();
    EXPECT_EQ(form->edDir->text(), c.dir);
    EXPECT_EQ(form->bSilenceInstall, c.silent);
    EXPECT_EQ(Stored(L"AlignToCenter"), c.align);
    // Keys left out clear their fields and leave the optional controls alone.
    EXPECT_EQ(form->chkDemoData->caption(), L"导入演示资料");
    EXPECT_EQ(form->edDBName->text(), L"");
    EXPECT_FALSE(form->bNoLoginMenu);
    EXPECT_EQ(form->sLoginIPForShortCut, L"");
  }
}

TEST_F(SetupConfigTest, FlagsAreOnOnlyForOne) {
  struct Case {
    const wchar_t* value;
    bool on;
  } cases[] = {{L"1", true},   {L" 1 ", true},  {L"\"1\"", true}, {L"yes", false}, {L"true", false},
               {L"01", false}, {L"1.0", false}, {L"", false},     {L"0", false},   {L"Y", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    Reset();
    Plain(std::wstring(L"[S]\r\nSilenceInstall=") + c.value + L"\r\nNoExcelAgent=" + c.value +
          L"\r\nAlignToCenter=" + c.value + L"\r\n");
    auto form = Read();
    EXPECT_EQ(form->bSilenceInstall, c.on);
    EXPECT_EQ(form->bNoExcelAgent, c.on);
    EXPECT_EQ(Stored(L"AlignToCenter"), c.on ? L"1" : L"0");
  }
}

TEST_F(SetupConfigTest, IconPathsResolveBesideTheInstallerOnly) {
  struct Case {
    const wchar_t* value;
    const wchar_t* expected;
  } cases[] = {
      {L"icons\\c.ico", L"C:\\setup\\icons\\c.ico"},
      {L"C.ICO", L"C:\\setup\\C.ICO"},
      {L"icons\\missing.ico", L""},
      {L"C:\\setup\\icons\\c.ico", L""},  // absolute, even though the file exists
      {L"\\\\server\\c.ico", L""},
      {L"", L""},
      {L"icons", L""},  // a folder is no file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    Reset();
    files->AddFile(L"C:\\setup\\icons\\c.ico", std::string("ico"));
    files->AddFile(L"C:\\setup\\c.ico", std::string("ico"));
    Plain(std::wstring(L"[S]\r\nExcelClientIcon=") + c.value + L"\r\nExcelAgentIcon=" + c.value +
          L"\r\n");
    auto form = Read();
    EXPECT_EQ(form->sIconPath_Client, c.expected);
    EXPECT_EQ(form->sIconPath_Agent, c.expected);
  }
}

TEST_F(SetupConfigTest, ShortcutNameIsReadOnlyWhenTheShortcutIsWanted) {
  struct Case {
    const wchar_t* create;
    const wchar_t* expected;
  } cases[] = {{L"1", L"New"}, {L"0", L"Earlier"}, {L"yes", L"Earlier"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.create);
    Reset();
    Plain(std::wstring(L"[S]\r\nCreateShortCutForIE=") + c.create +
          L"\r\nShortCutNameForIE=New\r\n");
    auto form = std::make_unique<TfrmClientInstall>(env);
    form->ShortCutNameForIE = L"Earlier";
    form->ReadSetupConfig();
    EXPECT_EQ(form->ShortCutNameForIE, c.expected);
  }
}

TEST_F(SetupConfigTest, EveryReadingSetsTheFieldsAnew) {
  Plain(
      L"[S]\r\nDEFAULT_PATH=D:\\First\r\nLoginIP=1.2.3.4\r\nDEFAULT_DB=Db1\r\n"
      L"IMPORT_DATA_HINT=Hint1\r\nAlignToCenter=1\r\n");
  auto form = Read();
  form->edDir->SetText(L"D:\\Typed");
  Plain(L"[S]\r\n");
  form->ReadSetupConfig();
  EXPECT_EQ(form->edDir->text(), L"C:\\Tovrin");
  EXPECT_EQ(form->sLoginIPForShortCut, L"");
  EXPECT_EQ(form->edDBName->text(), L"Db1");
  EXPECT_EQ(form->chkDemoData->caption(), L"Hint1");
  EXPECT_EQ(Stored(L"AlignToCenter"), L"0");
}

TEST_F(SetupConfigTest, TwinDecodesThroughTheAnsiCodePage) {
  // A twin broken into lines at every level, with stray characters the decoder skips.
  const std::string ansi = code_page.ToAnsi(L"[设置]\r\nLoginMenuCaption=报表登录\r\n");
  Bytes twin = EncodeConfigTwin(Bytes(ansi.begin(), ansi.end()), true);
  twin.insert(twin.begin(), {' ', '\t', '*'});
  files->AddFile(kTwin, twin);
  auto form = Read();
  EXPECT_EQ(form->sLoginMenuCaption, L"报表登录");
}

TEST_F(SetupConfigTest, DamagedTwinReadsAsWhateverItDecodesTo) {
  files->AddFile(kTwin, std::string("%%% not base64 at all \r\n\x81\xfe"));
  auto form = Read();
  EXPECT_EQ(form->edDir->text(), L"C:\\Tovrin");
  EXPECT_FALSE(files->FileExists(kPlain));
}

TEST_F(SetupConfigTest, UnicodePlainFileIsRead) {
  std::wstring text = L"[S]\r\nLoginMenuCaption=報表\r\n";
  Bytes bytes = {0xFF, 0xFE};
  for (wchar_t ch : text) {
    bytes.push_back(static_cast<uint8_t>(ch & 0xFF));
    bytes.push_back(static_cast<uint8_t>((ch >> 8) & 0xFF));
  }
  files->AddFile(kPlain, bytes);
  EXPECT_EQ(Read()->sLoginMenuCaption, L"報表");
}

class UpdateStamp : public SetupConfigTest {};

TEST_F(UpdateStamp, FirstLineAfterTheFirstEquals) {
  struct Case {
    const char* content;
    const wchar_t* stored;
  } cases[] = {
      {"UpdateDateTime=20240131235959123\r\n", L"20240131235959123"},
      {"UpdateDateTime=20240131235959123", L"20240131235959123"},
      {"A=b=c\r\nX=1\r\n", L"b=c"},
      {"no equals\r\nUpdateDateTime=1\r\n", L""},
      {"UpdateDateTime=\r\n", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    Reset();
    files->AddFile(L"C:\\Dest\\Stampfile.INI", std::string(c.content));
    auto form = std::make_unique<TfrmClientInstall>(env);
    form->sDestDir = L"C:\\Dest";
    form->SaveLastUpdateTime();
    EXPECT_EQ(Stored(L"sLastUpdateTime"), c.stored);
  }
}

TEST_F(UpdateStamp, MissingOrEmptyFileFailsAndStoresNothing) {
  files->AddFolder(L"C:\\Dest");
  auto form = std::make_unique<TfrmClientInstall>(env);
  form->sDestDir = L"C:\\Dest";
  EXPECT_THROW(form->SaveLastUpdateTime(), FileError);
  files->AddFile(L"C:\\Dest\\Stampfile.INI", std::string());
  try {
    form->SaveLastUpdateTime();
    ADD_FAILURE() << "no error for an empty stamp file";
  } catch (const FormatError& e) {
    EXPECT_NE(e.message().find(L"Stampfile.INI"), std::wstring::npos);
  }
  EXPECT_FALSE(Stored(L"sLastUpdateTime"));
}

}  // namespace
}  // namespace quillon
