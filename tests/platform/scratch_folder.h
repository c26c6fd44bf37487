#pragma once
// A fresh, empty folder under the temporary folder for one test, removed with everything
// in it afterwards; and the folder of the running test program, where helper programs are.

#include <filesystem>
#include <string>

#include "platform/win32/windows_api.h"

namespace quillon {

class ScratchFolder {
 public:
  ScratchFolder() {
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp) + L"quillon-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder, without a trailing "\".
  const std::wstring& path() const { return path_; }
  std::wstring At(const std::wstring& relative) const { return path_ + L"\\" + relative; }

 private:
  std::wstring path_;
};

// Folder of platform_tests.exe, without a trailing "\".
inline std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

}  // namespace quillon
