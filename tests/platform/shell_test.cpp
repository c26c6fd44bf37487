// The shell on Wine: special folders, opening a program with parameters and a working folder,
// folder creation and folder replacement on the real disk.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/error.h"
#include "base/text.h"
#include "deploy/unFileAndDir.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/windows_api.h"
#include "scratch_folder.h"
#include "support/text_language.h"

namespace quillon {
namespace {

Bytes B(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

bool IsDriveAbsolute(const std::wstring& path) {
  return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

// Every file and folder below `root`, relative to it, folders ending in "\", sorted.
std::vector<std::wstring> Tree(FileSystem& fs, const std::wstring& root,
                               const std::wstring& prefix = L"") {
  std::vector<std::wstring> out;
  for (const auto& name : fs.ListDirectory(root)) {
    if (fs.DirectoryExists(root + L"\\" + name)) {
      out.push_back(prefix + name + L"\\");
      for (auto& sub : Tree(fs, root + L"\\" + name, prefix + name + L"\\")) out.push_back(sub);
    } else {
      out.push_back(prefix + name);
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST(SpecialFoldersPlatform, SystemAndSharedDataFolders) {
  Win32Shell shell;
  Win32FileSystem fs;
  const std::wstring system = GetSystemDir(shell);
  EXPECT_TRUE(IsDriveAbsolute(system)) << ToUtf8(system);
  EXPECT_EQ(system.back(), L'\\');
  EXPECT_NE(system.substr(0, system.size() - 1).back(), L'\\');
  EXPECT_TRUE(fs.FileExists(system + L"RegSvr32.exe")) << ToUtf8(system);

  const std::wstring shared = GetCommonAppDataDir(shell);
  EXPECT_TRUE(IsDriveAbsolute(shared)) << ToUtf8(shared);
  EXPECT_NE(shared.back(), L'\\');
  EXPECT_TRUE(fs.DirectoryExists(shared)) << ToUtf8(shared);
  wchar_t env[MAX_PATH + 1] = {};
  if (GetEnvironmentVariableW(L"ProgramData", env, MAX_PATH + 1)) {
    EXPECT_TRUE(SameTextAscii(shared, env)) << ToUtf8(shared) << " vs " << ToUtf8(env);
  }

  for (SpecialFolder f : {SpecialFolder::Desktop, SpecialFolder::StartMenuPrograms}) {
    const std::wstring path = shell.FolderPath(f);
    EXPECT_TRUE(IsDriveAbsolute(path)) << ToUtf8(path);
  }
  EXPECT_TRUE(SameTextAscii(ExtractFileName(shell.FolderPath(SpecialFolder::StartMenuPrograms)),
                            L"Programs"));
}

TEST(ShellOpenPlatform, OpensWithParametersAndWorkingFolder) {
  ScratchFolder scratch;
  Win32FileSystem fs;
  Win32Shell shell;
  fs.CreateDirectory(scratch.At(L"work"));
  const std::string batch =
      "@echo off\r\necho %~1> args.txt\r\ncd> where.txt\r\nren args.txt done.txt\r\n";
  fs.WriteFile(scratch.At(L"register.bat"), B(batch));
  ASSERT_TRUE(shell.Open(scratch.At(L"register.bat"), L"\"/s C:\\x.dll\"", scratch.At(L"work"),
                         ShowMode::Show));
  // Open does not wait: look for the batch's last file for a while.
  for (int i = 0; i < 500 && !fs.FileExists(scratch.At(L"work\\done.txt")); ++i) Sleep(20);
  ASSERT_TRUE(fs.FileExists(scratch.At(L"work\\done.txt")));
  const Bytes args = fs.ReadFile(scratch.At(L"work\\done.txt"));
  EXPECT_EQ(std::string(args.begin(), args.end()), "/s C:\\x.dll\r\n");
  EXPECT_FALSE(shell.Open(scratch.At(L"missing.exe"), L"", L"", ShowMode::Hide));
}

TEST(EnsureFolderPlatform, CreatesEveryLevelAndNamesAFolderItCannotMake) {
  ScratchFolder scratch;
  Win32FileSystem fs;
  const std::wstring deep = scratch.At(L"Quillon\\Icon\\a\\b\\c");
  EnsureFolder(fs, deep);
  EXPECT_TRUE(fs.DirectoryExists(deep));
  EXPECT_NO_THROW(EnsureFolder(fs, deep));
  fs.WriteFile(scratch.At(L"file.txt"), B("x"));
  const std::wstring blocked = scratch.At(L"file.txt\\sub");
  const ScopedTextLanguage simplified_chinese('A');
  try {
    EnsureFolder(fs, blocked);
    ADD_FAILURE() << "a folder was made below a file";
  } catch (const FileError& e) {
    EXPECT_EQ(e.message(), L"不能建立目录：" + blocked);
  }
}

TEST(ReplaceFolderCopyPlatform, ReplacesTheTargetWithoutNesting) {
  ScratchFolder scratch;
  Win32FileSystem fs;
  Win32Shell shell;
  ForceDirectories(fs, scratch.At(L"Setup\\Extra\\Sub"));
  fs.WriteFile(scratch.At(L"Setup\\Extra\\readme.txt"), B("first"));
  fs.WriteFile(scratch.At(L"Setup\\Extra\\Sub\\data.bin"), B("data"));
  fs.CreateDirectory(scratch.At(L"Quillon"));
  // The target is passed with a trailing "\", as the install passes it.
  const std::wstring target = scratch.At(L"Quillon\\Extra\\");
  const std::vector<std::wstring> expected = {L"Sub\\", L"Sub\\data.bin", L"readme.txt"};

  ReplaceFolderCopy(fs, shell, nullptr, scratch.At(L"Setup\\Extra"), target);
  EXPECT_EQ(Tree(fs, scratch.At(L"Quillon\\Extra")), expected);

  fs.WriteFile(scratch.At(L"Quillon\\Extra\\added later.txt"), B("user"));
  fs.WriteFile(scratch.At(L"Setup\\Extra\\readme.txt"), B("second"));
  ReplaceFolderCopy(fs, shell, nullptr, scratch.At(L"Setup\\Extra"), target);
  EXPECT_EQ(Tree(fs, scratch.At(L"Quillon\\Extra")), expected);
  const Bytes readme = fs.ReadFile(scratch.At(L"Quillon\\Extra\\readme.txt"));
  EXPECT_EQ(std::string(readme.begin(), readme.end()), "second");
  // The source is left as it was.
  EXPECT_EQ(Tree(fs, scratch.At(L"Setup\\Extra")), expected);
}

}  // namespace
}  // namespace quillon
