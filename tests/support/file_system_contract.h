#pragma once
// What every FileSystem must do the Windows way, as value-parameterised tests: the unit
// tests run them on FakeFileSystem, the platform tests on Win32FileSystem over Wine's disk,
// so the fake cannot drift from the real thing. A program instantiates them with
//   INSTANTIATE_TEST_SUITE_P(Name, FileSystemContract, testing::Values(factory));

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/text.h"
#include "platform/ports/file_system.h"

namespace quillon {

// A file system under test with an empty scratch folder and a way to hold a file the way a
// running program holds its image: readable, but not replaceable or deletable.
class FileSystemHarness {
 public:
  virtual ~FileSystemHarness() = default;
  virtual FileSystem& fs() = 0;
  // An existing empty folder, without a trailing "\".
  virtual std::wstring root() = 0;
  virtual void Hold(const std::wstring& file) = 0;
  virtual void Release(const std::wstring& file) = 0;
};

struct FileSystemUnderTest {
  const char* name;
  std::function<std::unique_ptr<FileSystemHarness>()> make;
};

inline void PrintTo(const FileSystemUnderTest& p, std::ostream* os) {
  *os << p.name;
}

class FileSystemContract : public testing::TestWithParam<FileSystemUnderTest> {
 protected:
  void SetUp() override { h_ = GetParam().make(); }
  FileSystem& fs() { return h_->fs(); }
  std::wstring At(const std::wstring& relative) { return h_->root() + L"\\" + relative; }
  static Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }
  static bool Names(const std::wstring& message, const std::wstring& path) {
    return UpperAscii(message).find(UpperAscii(path)) != std::wstring::npos;
  }
  std::vector<std::wstring> Sorted(const std::wstring& folder) {
    auto names = fs().ListDirectory(folder);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::unique_ptr<FileSystemHarness> h_;
};

TEST_P(FileSystemContract, NamesIgnoreCaseAndKeepTheStoredSpelling) {
  ASSERT_TRUE(fs().CreateDirectory(At(L"Dir")));
  fs().WriteFile(At(L"Dir\\Data.BIN"), B("one"));
  EXPECT_TRUE(fs().FileExists(At(L"dir\\data.bin")));
  EXPECT_TRUE(fs().DirectoryExists(At(L"DIR")));
  EXPECT_TRUE(fs().DirectoryExists(At(L"dir\\")));
  EXPECT_FALSE(fs().FileExists(At(L"DIR")));
  EXPECT_FALSE(fs().DirectoryExists(At(L"Dir\\Data.BIN")));
  // Replacing through another spelling keeps the file's own name.
  fs().WriteFile(At(L"DIR\\DATA.bin"), B("two"));
  EXPECT_EQ(fs().ReadFile(At(L"dir\\data.BIN")), B("two"));
  EXPECT_EQ(Sorted(At(L"dir")), std::vector<std::wstring>{L"Data.BIN"});
}

TEST_P(FileSystemContract, WriteReplacesWholeAndLeavesNothingBeside) {
  const std::wstring file = At(L"安装证书.bat");
  fs().WriteFile(file, B("a longer first content"));
  fs().WriteFile(file, B("short"));
  EXPECT_EQ(fs().ReadFile(file), B("short"));
  fs().WriteFile(file, Bytes{});
  EXPECT_EQ(fs().ReadFile(file), Bytes{});
  EXPECT_EQ(Sorted(h_->root()), std::vector<std::wstring>{L"安装证书.bat"});
}

TEST_P(FileSystemContract, HeldFileReadsButRefusesWritesNamingItself) {
  const std::wstring file = At(L"modHook.dll");
  fs().WriteFile(file, B("old image"));
  h_->Hold(file);
  try {
    fs().WriteFile(file, B("new image"));
    ADD_FAILURE() << "write over a held file succeeded";
  } catch (const FileError& e) {
    EXPECT_TRUE(Names(e.message(), file)) << e.what();
  }
  try {
    fs().DeleteFile(file);
    ADD_FAILURE() << "delete of a held file succeeded";
  } catch (const FileError& e) {
    EXPECT_TRUE(Names(e.message(), file)) << e.what();
  }
  EXPECT_FALSE(fs().CopyFile(At(L"nothing"), file));
  fs().WriteFile(At(L"other.dll"), B("other"));
  EXPECT_FALSE(fs().CopyFile(At(L"other.dll"), file));
  // The old content is whole, still readable while held, and no partial file is left.
  EXPECT_EQ(fs().ReadFile(file), B("old image"));
  EXPECT_EQ(Sorted(h_->root()), (std::vector<std::wstring>{L"modHook.dll", L"other.dll"}));
  h_->Release(file);
  fs().WriteFile(file, B("new image"));
  EXPECT_EQ(fs().ReadFile(file), B("new image"));
}

TEST_P(FileSystemContract, MissingPathsFailNamingThePath) {
  const std::wstring missing = At(L"absent.txt");
  const std::wstring in_missing_folder = At(L"no\\such\\file.txt");
  for (const std::wstring& path : {missing, in_missing_folder}) {
    try {
      fs().ReadFile(path);
      ADD_FAILURE() << "read of a missing file succeeded";
    } catch (const FileError& e) {
      EXPECT_TRUE(Names(e.message(), path)) << e.what();
    }
  }
  try {
    fs().WriteFile(in_missing_folder, B("x"));
    ADD_FAILURE() << "write into a missing folder succeeded";
  } catch (const FileError& e) {
    EXPECT_TRUE(Names(e.message(), in_missing_folder)) << e.what();
  }
  EXPECT_FALSE(fs().DirectoryExists(At(L"no")));
  EXPECT_NO_THROW(fs().DeleteFile(missing));
  EXPECT_NO_THROW(fs().DeleteFile(in_missing_folder));
  EXPECT_FALSE(fs().CopyFile(missing, At(L"copy.txt")));
  EXPECT_FALSE(fs().FileExists(At(L"copy.txt")));
}

TEST_P(FileSystemContract, FoldersOneLevelAtATime) {
  EXPECT_FALSE(fs().CreateDirectory(At(L"a\\b")));  // parent missing
  EXPECT_TRUE(fs().CreateDirectory(At(L"a")));
  EXPECT_TRUE(fs().CreateDirectory(At(L"A")));  // already there
  EXPECT_TRUE(fs().CreateDirectory(At(L"a\\b")));
  fs().WriteFile(At(L"a\\file"), B("x"));
  EXPECT_FALSE(fs().CreateDirectory(At(L"a\\file")));
  EXPECT_TRUE(ForceDirectories(fs(), At(L"a\\b\\c\\d\\")));
  EXPECT_TRUE(fs().DirectoryExists(At(L"a\\b\\c\\d")));
  EXPECT_EQ(Sorted(At(L"a")), (std::vector<std::wstring>{L"b", L"file"}));
  EXPECT_TRUE(fs().ListDirectory(At(L"nowhere")).empty());
  fs().DeleteFile(At(L"a\\file"));
  EXPECT_FALSE(fs().FileExists(At(L"a\\file")));
}

TEST_P(FileSystemContract, CopyReplacesTheTarget) {
  fs().WriteFile(At(L"from.dat"), B("source bytes"));
  fs().WriteFile(At(L"to.dat"), B("old"));
  EXPECT_TRUE(fs().CopyFile(At(L"from.dat"), At(L"to.dat")));
  EXPECT_EQ(fs().ReadFile(At(L"to.dat")), B("source bytes"));
  EXPECT_EQ(fs().ReadFile(At(L"from.dat")), B("source bytes"));
}

}  // namespace quillon
