// Win32FileSystem on Wine's disk: the shared FileSystem contract (the fake runs the same
// cases), a file held by another handle without sharing, and replacement that happens only
// when the new content is complete. Also the ANSI code page adapter.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "base/error.h"
#include "base/text.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/windows_api.h"
#include "scratch_folder.h"
#include "support/file_system_contract.h"

namespace quillon {
namespace {

// Opens a file the way `share` allows others to use it; the handle is the lock.
UniqueHandle OpenHeld(const std::wstring& path, DWORD share) {
  return UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

class Win32Harness : public FileSystemHarness {
 public:
  FileSystem& fs() override { return fs_; }
  std::wstring root() override { return scratch_.path(); }
  // A loaded program image: others may read, nobody may write, rename over or delete.
  void Hold(const std::wstring& file) override {
    held_[UpperAscii(file)] = OpenHeld(file, FILE_SHARE_READ);
    ASSERT_TRUE(held_[UpperAscii(file)]);
  }
  void Release(const std::wstring& file) override { held_.erase(UpperAscii(file)); }

 private:
  ScratchFolder scratch_;
  Win32FileSystem fs_;
  std::map<std::wstring, UniqueHandle> held_;
};

INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract,
                         testing::Values(FileSystemUnderTest{
                             "win32", [] { return std::make_unique<Win32Harness>(); }}));

class Win32FileSystemTest : public testing::Test {
 protected:
  static Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }
  static bool Names(const FileError& e, const std::wstring& path) {
    return UpperAscii(e.message()).find(UpperAscii(path)) != std::wstring::npos;
  }
  ScratchFolder scratch_;
  Win32FileSystem fs_;
};

TEST_F(Win32FileSystemTest, HandleWithoutSharingBlocksEveryAccessAndTheErrorNamesTheFile) {
  const std::wstring file = scratch_.At(L"tabvo1.dll");
  fs_.WriteFile(file, B("installed"));
  {
    UniqueHandle exclusive = OpenHeld(file, 0);
    ASSERT_TRUE(exclusive);
    struct Attempt {
      const char* what;
      std::function<void()> run;
    } attempts[] = {
        {"read", [&] { fs_.ReadFile(file); }},
        {"write", [&] { fs_.WriteFile(file, B("replacement")); }},
        {"delete", [&] { fs_.DeleteFile(file); }},
    };
    for (const auto& a : attempts) {
      try {
        a.run();
        ADD_FAILURE() << a.what << " succeeded on a file held without sharing";
      } catch (const FileError& e) {
        EXPECT_TRUE(Names(e, file)) << a.what << ": " << e.what();
        // The system's own reason comes after the path.
        EXPECT_GT(e.message().size(), file.size() + 20) << e.what();
      }
    }
    EXPECT_FALSE(fs_.CopyFile(file, scratch_.At(L"copy.dll")));
  }
  EXPECT_EQ(fs_.ReadFile(file), B("installed"));
  EXPECT_EQ(fs_.ListDirectory(scratch_.path()), std::vector<std::wstring>{L"tabvo1.dll"});
}

// A write cut off (its process killed) leaves its temporary file "<file>.~<process>-<n>.tmp"
// beside the file; the next write of that file removes such leftovers, and nothing else.
TEST_F(Win32FileSystemTest, AWriteRemovesWhatCutOffWritesOfTheSameFileLeft) {
  struct Way {
    const char* name;
    std::function<void(FileSystem&, const std::wstring&)> write;
  } ways[] = {
      {"WriteFile", [](FileSystem& fs, const std::wstring& f) { fs.WriteFile(f, B("new")); }},
      {"BeginReplace",
       [](FileSystem& fs, const std::wstring& f) {
         auto out = fs.BeginReplace(f);
         out->Write("new", 3);
         out->Commit();
       }},
  };
  for (const Way& way : ways) {
    ScratchFolder scratch;
    const std::wstring file = scratch.At(L"Renovo.exe");
    fs_.WriteFile(file, B("old"));
    const std::vector<std::wstring> left = {L"Renovo.exe.~4242-7.tmp", L"RENOVO.EXE.~17-1.TMP"};
    const std::vector<std::wstring> kept = {
        L"Renovo.exe.~4242-8.tmp",     // still being written by its process: held below
        L"Renovo.exe.~old.tmp",        // not a name of ours
        L"Renovo.exe.~1-.tmp",         // likewise
        L"Renovo.exe.bak",             // likewise
        L"SheetDesk.exe.~4242-9.tmp",  // another file's
    };
    for (const auto* names : {&left, &kept}) {
      for (const std::wstring& name : *names) fs_.WriteFile(scratch.At(name), B("partial"));
    }
    const UniqueHandle live(CreateFileW(scratch.At(kept[0]).c_str(), GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(live);

    way.write(fs_, file);
    EXPECT_EQ(fs_.ReadFile(file), B("new")) << way.name;
    std::vector<std::wstring> expected = kept;
    expected.push_back(L"Renovo.exe");
    std::sort(expected.begin(), expected.end());
    std::vector<std::wstring> names = fs_.ListDirectory(scratch.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, expected) << way.name;
  }
}

TEST_F(Win32FileSystemTest, LargeFileRoundTrips) {
  Bytes data(3 * 1024 * 1024 + 17);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + i / 251);
  const std::wstring file = scratch_.At(L"big.bin");
  fs_.WriteFile(file, data);
  EXPECT_EQ(fs_.ReadFile(file), data);
}

TEST(Win32CodePage, ConvertsThroughTheSystemAnsiCodePage) {
  if (GetACP() != 936) GTEST_SKIP() << "needs the Chinese (GBK) ANSI code page, have " << GetACP();
  Win32CodePage cp;
  const std::string gbk =
      "\xD6\xD0\xCE\xC4"
      "A";  // "中文A"
  EXPECT_EQ(cp.ToAnsi(L"中文A"), gbk);
  EXPECT_EQ(cp.FromAnsi(gbk), L"中文A");
  EXPECT_EQ(cp.ToAnsi(L""), "");
  EXPECT_EQ(cp.FromAnsi(""), L"");
}

}  // namespace
}  // namespace quillon
