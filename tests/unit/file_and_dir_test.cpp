// Process and folder helpers on the fakes: which process is stopped, how a started program
// is waited for, the special folders, folder creation and folder replacement.
#include <gtest/gtest.h>

#include "base/error.h"
#include "base/text.h"
#include "deploy/unFileAndDir.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_shell.h"
#include "support/text_language.h"

namespace quillon {
namespace {

const std::wstring kAgent = L"VXKALDERAGENT.EXE";

TEST(StopProcessByName, EndsOnlyTheFirstExactUpperCaseMatch) {
  struct Case {
    const char* what;
    std::wstring name;
    std::vector<ProcessEntry> running;
    std::set<uint32_t> refused;
    bool found;
    std::vector<uint32_t> terminated;
  } cases[] = {
      {"plain match", kAgent, {{4, L"explorer.exe"}, {9, L"VXKALDERAgent.exe"}}, {}, true, {9}},
      {"a full path counts by its file name",
       kAgent,
       {{5, L"C:\\Program Files\\Quillon\\VXKALDERAgent.exe"}},
       {},
       true,
       {5}},
      {"two of the same name: the first in snapshot order",
       kAgent,
       {{7, L"vxkalderagent.exe"}, {3, L"VXKALDERAgent.exe"}},
       {},
       true,
       {7}},
      {"access denied still counts as found", kAgent, {{6, L"VXKALDERAgent.exe"}}, {6}, true, {6}},
      {"lower-case input never matches",
       L"vxkalderagent.exe",
       {{8, L"vxkalderagent.exe"}},
       {},
       false,
       {}},
      {"mixed-case input never matches",
       L"VXKALDERAgent.exe",
       {{8, L"VXKALDERAgent.exe"}},
       {},
       false,
       {}},
      {"near names do not match",
       kAgent,
       {{1, L"VXKALDERAgent.exe.old"},
        {2, L"OldVXKALDERAgent.exe"},
        {3, L"VXKALDERAgent"},
        {4, L"C:\\VXKALDERAgent.exe\\other.exe"},
        {5, L" VXKALDERAgent.exe"}},
       {},
       false,
       {}},
      {"nothing running", kAgent, {}, {}, false, {}},
  };
  for (const auto& c : cases) {
    FakeProcesses procs;
    procs.running = c.running;
    procs.protected_ids = c.refused;
    EXPECT_EQ(StopProcessByName(procs, c.name), c.found) << c.what;
    EXPECT_EQ(procs.terminated, c.terminated) << c.what;
  }
}

TEST(RunAndWait, WaitsInTenMillisecondStepsServingTheWindowBetween) {
  struct Case {
    bool starts;
    int waits_before_exit;
    bool result;
    std::vector<std::wstring> log;
  } cases[] = {
      {false, 0, false, {L"start 安装证书.bat "}},
      {true, 0, true, {L"start 安装证书.bat ", L"idle", L"wait 10", L"close"}},
      {true,
       2,
       true,
       {L"start 安装证书.bat ", L"idle", L"wait 10", L"serve", L"wait 10", L"serve", L"wait 10",
        L"close"}},
  };
  for (const auto& c : cases) {
    FakeProcesses procs;
    procs.can_start = c.starts;
    procs.exit_after_waits = c.waits_before_exit;
    const bool started = RunAndWait(
        procs, [&] { procs.log.push_back(L"serve"); }, L"安装证书.bat", L"", ShowMode::Hide);
    EXPECT_EQ(started, c.result);
    EXPECT_EQ(procs.log, c.log) << c.waits_before_exit;
    ASSERT_EQ(procs.started.size(), 1u);
    EXPECT_EQ(procs.started[0].show, ShowMode::Hide);
  }
}

TEST(RunAndWait, PassesProgramAndParametersThrough) {
  FakeProcesses procs;
  EXPECT_TRUE(
      RunAndWait(procs, nullptr, L"C:\\tools\\run.exe", L"/s \"C:\\a b\\x.dll\"", ShowMode::Show));
  ASSERT_EQ(procs.started.size(), 1u);
  EXPECT_EQ(procs.started[0].program, L"C:\\tools\\run.exe");
  EXPECT_EQ(procs.started[0].parameters, L"/s \"C:\\a b\\x.dll\"");
  EXPECT_EQ(procs.started[0].show, ShowMode::Show);
}

TEST(SpecialFolders, SystemGetsOneTrailingSeparatorAndEmptyAnswersFail) {
  FakeShell shell;
  struct Case {
    std::wstring system, expected;
  } cases[] = {
      {L"C:\\windows\\system32", L"C:\\windows\\system32\\"},
      {L"C:\\WINNT\\System32\\", L"C:\\WINNT\\System32\\"},
  };
  for (const auto& c : cases) {
    shell.folders[SpecialFolder::System] = c.system;
    EXPECT_EQ(GetSystemDir(shell), c.expected);
  }
  shell.folders[SpecialFolder::CommonAppData] = L"C:\\ProgramData";
  EXPECT_EQ(GetCommonAppDataDir(shell), L"C:\\ProgramData");
  // An unknown folder must not become the root of the current drive.
  shell.folders.clear();
  EXPECT_THROW(GetSystemDir(shell), FileError);
  EXPECT_THROW(GetCommonAppDataDir(shell), FileError);
}

class EnsureFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    fs_.AddFolder(L"C:\\Quillon");
    fs_.AddFile(L"C:\\Quillon\\file.txt", "x");
    fs_.AddFolder(L"C:\\Locked");
    fs_.SetReadOnly(L"C:\\Locked");
  }
  FakeFileSystem fs_;
};

TEST_F(EnsureFolderTest, CreatesEveryMissingLevel) {
  for (const wchar_t* path : {L"C:\\Quillon", L"C:\\Quillon\\Icon", L"C:\\Quillon\\a\\b\\c\\d",
                              L"c:\\quillon\\A\\B\\e\\", L"C:\\"}) {
    EXPECT_NO_THROW(EnsureFolder(fs_, path)) << ToUtf8(path);
    EXPECT_TRUE(fs_.DirectoryExists(path)) << ToUtf8(path);
  }
  EXPECT_EQ(fs_.ListAll(),
            (std::vector<std::wstring>{
                L"C:\\", L"C:\\Locked\\", L"C:\\Quillon\\", L"C:\\Quillon\\a\\",
                L"C:\\Quillon\\a\\b\\", L"C:\\Quillon\\a\\b\\c\\", L"C:\\Quillon\\a\\b\\c\\d\\",
                L"C:\\Quillon\\a\\b\\e\\", L"C:\\Quillon\\file.txt", L"C:\\Quillon\\Icon\\"}));
}

TEST_F(EnsureFolderTest, FailureNamesTheFolder) {
  const ScopedTextLanguage simplified_chinese('A');
  const auto before = fs_.ListAll();
  for (const wchar_t* path : {L"C:\\Locked\\x\\y", L"C:\\Quillon\\file.txt\\sub", L"Q:\\x",
                              L"C:\\Quillon\\bad|name", L""}) {
    try {
      EnsureFolder(fs_, path);
      ADD_FAILURE() << "no error for " << ToUtf8(path);
    } catch (const FileError& e) {
      EXPECT_EQ(e.message(), std::wstring(L"不能建立目录：") + path);
    }
  }
  EXPECT_EQ(fs_.ListAll(), before);
}

class ReplaceFolderCopyTest : public testing::Test {
 protected:
  void SetUp() override {
    fs_.AddFile(L"C:\\Setup\\Extra\\readme.txt", "new readme");
    fs_.AddFile(L"C:\\Setup\\Extra\\Sub\\data.bin", "data");
    fs_.AddFolder(L"C:\\Quillon");
  }
  std::vector<std::wstring> Under(const std::wstring& prefix) {
    std::vector<std::wstring> out;
    for (const auto& p : fs_.ListAll()) {
      if (p.size() > prefix.size() && p.compare(0, prefix.size(), prefix) == 0) {
        out.push_back(p.substr(prefix.size()));
      }
    }
    return out;
  }
  FakeFileSystem fs_;
  FakeShell shell_{&fs_};
  int window_ = 0;  // stands for the owner window
};

TEST_F(ReplaceFolderCopyTest, MissingTargetIsOnlyCopied) {
  ReplaceFolderCopy(fs_, shell_, &window_, L"C:\\Setup\\Extra", L"C:\\Quillon\\Extra\\");
  ASSERT_EQ(shell_.folder_ops.size(), 1u);
  EXPECT_EQ(shell_.folder_ops[0].kind, FakeShell::FolderOpKind::Copy);
  EXPECT_EQ(shell_.folder_ops[0].owner, &window_);
  EXPECT_EQ(shell_.folder_ops[0].from, L"C:\\Setup\\Extra");
  EXPECT_EQ(shell_.folder_ops[0].to, L"C:\\Quillon\\Extra\\");
  EXPECT_EQ(Under(L"C:\\Quillon\\"),
            (std::vector<std::wstring>{L"Extra\\", L"Extra\\readme.txt", L"Extra\\Sub\\",
                                       L"Extra\\Sub\\data.bin"}));
}

TEST_F(ReplaceFolderCopyTest, ExistingTargetIsDeletedFirstSoTheCopyIsNotNested) {
  fs_.AddFile(L"C:\\Quillon\\Extra\\readme.txt", "old readme");
  fs_.AddFile(L"C:\\Quillon\\Extra\\added later.txt", "user file");
  ReplaceFolderCopy(fs_, shell_, &window_, L"C:\\Setup\\Extra", L"C:\\Quillon\\Extra\\");
  ASSERT_EQ(shell_.folder_ops.size(), 2u);
  EXPECT_EQ(shell_.folder_ops[0].kind, FakeShell::FolderOpKind::Delete);
  EXPECT_EQ(shell_.folder_ops[0].from, L"C:\\Quillon\\Extra\\");
  EXPECT_EQ(shell_.folder_ops[0].owner, &window_);
  EXPECT_EQ(shell_.folder_ops[1].kind, FakeShell::FolderOpKind::Copy);
  EXPECT_EQ(Under(L"C:\\Quillon\\"),
            (std::vector<std::wstring>{L"Extra\\", L"Extra\\readme.txt", L"Extra\\Sub\\",
                                       L"Extra\\Sub\\data.bin"}));
  EXPECT_EQ(fs_.Text(L"C:\\Quillon\\Extra\\readme.txt"), "new readme");
}

TEST_F(ReplaceFolderCopyTest, ShellFailuresAreNotReported) {
  fs_.AddFile(L"C:\\Quillon\\Extra\\busy.dll", "in use");
  fs_.Lock(L"C:\\Quillon\\Extra\\busy.dll");
  EXPECT_NO_THROW(
      ReplaceFolderCopy(fs_, shell_, nullptr, L"C:\\Setup\\Extra", L"C:\\Quillon\\Extra"));
  EXPECT_EQ(shell_.folder_ops.size(), 2u);
  EXPECT_TRUE(fs_.FileExists(L"C:\\Quillon\\Extra\\busy.dll"));
  EXPECT_NO_THROW(
      ReplaceFolderCopy(fs_, shell_, nullptr, L"C:\\Setup\\Missing", L"C:\\Quillon\\Other"));
  EXPECT_FALSE(fs_.DirectoryExists(L"C:\\Quillon\\Other"));
}

}  // namespace
}  // namespace quillon
