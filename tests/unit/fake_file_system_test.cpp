// The in-memory file system: the shared FileSystem contract, plus what only the fake
// offers (read-only folders, drives, the full listing) and what tests build on.
#include "platform/fake/fake_file_system.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "support/file_system_contract.h"

namespace quillon {
namespace {

class FakeHarness : public FileSystemHarness {
 public:
  FakeHarness() { fs_.AddFolder(L"C:\\scratch"); }
  FileSystem& fs() override { return fs_; }
  std::wstring root() override { return L"C:\\scratch"; }
  void Hold(const std::wstring& file) override { fs_.Lock(file); }
  void Release(const std::wstring& file) override { fs_.Lock(file, false); }

 private:
  FakeFileSystem fs_;
};

INSTANTIATE_TEST_SUITE_P(Fake, FileSystemContract,
                         testing::Values(FileSystemUnderTest{
                             "fake", [] { return std::make_unique<FakeHarness>(); }}));

TEST(FakeFileSystem, ReadOnlyFolderRefusesChangesInsideOnly) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\ro\\kept.txt", "kept");
  fs.AddFolder(L"C:\\ro\\sub");
  fs.SetReadOnly(L"C:\\ro");
  EXPECT_THROW(fs.WriteFile(L"C:\\ro\\new.txt", {1}), FileError);
  EXPECT_THROW(fs.WriteFile(L"C:\\ro\\kept.txt", {1}), FileError);
  EXPECT_THROW(fs.DeleteFile(L"C:\\ro\\kept.txt"), FileError);
  EXPECT_FALSE(fs.CreateDirectory(L"C:\\ro\\dir"));
  EXPECT_FALSE(fs.RemoveTree(L"C:\\ro"));
  EXPECT_FALSE(fs.RemoveTree(L"C:\\ro\\sub"));
  // A folder below it is not read-only itself.
  fs.WriteFile(L"C:\\ro\\sub\\ok.txt", {2});
  EXPECT_EQ(fs.Text(L"C:\\ro\\kept.txt"), "kept");
  EXPECT_EQ(fs.ListAll(), (std::vector<std::wstring>{L"C:\\", L"C:\\ro\\", L"C:\\ro\\kept.txt",
                                                     L"C:\\ro\\sub\\", L"C:\\ro\\sub\\ok.txt"}));
}

TEST(FakeFileSystem, PathsAreAbsoluteWindowsPaths) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\a\\b.txt", "b");
  struct Case {
    const wchar_t* path;
    bool exists;
  } cases[] = {
      {L"c:/A/B.TXT", true},       {L"C:\\a\\.\\x\\..\\b.txt", true},
      {L"C:\\\\a\\\\b.txt", true}, {L"a\\b.txt", false},
      {L"C:a\\b.txt", false},      {L"D:\\a\\b.txt", false},
      {L"C:\\a\\b.txt\\", false},  {L"C:\\a\\b?.txt", false},
  };
  for (const auto& c : cases) EXPECT_EQ(fs.FileExists(c.path), c.exists) << ToUtf8(c.path);
  EXPECT_THROW(fs.WriteFile(L"Q:\\x.txt", {1}), FileError);
  EXPECT_THROW(fs.WriteFile(L"C:\\a\\<x>.txt", {1}), FileError);
  fs.AddDrive(L"D:");
  fs.WriteFile(L"d:\\x.txt", {1});
  EXPECT_TRUE(fs.FileExists(L"D:\\X.TXT"));
}

TEST(FakeFileSystem, TreeCopyAndRemoval) {
  FakeFileSystem fs;
  fs.AddFile(L"C:\\src\\one.txt", "1");
  fs.AddFile(L"C:\\src\\Deep\\two.txt", "2");
  EXPECT_FALSE(fs.CopyTree(L"C:\\src", L"C:\\src\\Deep\\again"));  // into itself
  EXPECT_FALSE(fs.CopyTree(L"C:\\src", L"C:\\missing\\dst"));
  ASSERT_TRUE(fs.CopyTree(L"C:\\src", L"C:\\Dst"));
  EXPECT_FALSE(fs.CopyTree(L"C:\\src", L"C:\\dst"));  // target exists
  EXPECT_EQ(fs.Text(L"C:\\dst\\deep\\TWO.txt"), "2");
  fs.Lock(L"C:\\dst\\Deep\\two.txt");
  EXPECT_FALSE(fs.RemoveTree(L"C:\\dst"));
  EXPECT_TRUE(fs.FileExists(L"C:\\dst\\one.txt"));
  fs.Lock(L"C:\\dst\\Deep\\two.txt", false);
  EXPECT_TRUE(fs.RemoveTree(L"C:\\dst"));
  EXPECT_FALSE(fs.DirectoryExists(L"C:\\dst"));
  EXPECT_TRUE(fs.FileExists(L"C:\\src\\Deep\\two.txt"));
}

}  // namespace
}  // namespace quillon
