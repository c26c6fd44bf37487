#include "platform/ports/file_system.h"

#include "base/error.h"

namespace quillon {

bool ForceDirectories(FileSystem& fs, const std::wstring& path) {
  if (path.empty()) {
    throw FileError(LocalText{L"不能建立目录", L"不能建立目錄", L"Cannot create directory"});
  }
  std::wstring dir = path;
  while (dir.size() > 1 && (dir.back() == L'\\' || dir.back() == L'/')) dir.pop_back();
  if (dir.size() <= 3 && dir.size() >= 2 && dir[1] == L':') return fs.DirectoryExists(dir + L"\\");
  if (fs.DirectoryExists(dir)) return true;
  const size_t cut = dir.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut > 0) {
    if (!ForceDirectories(fs, dir.substr(0, cut))) return false;
  }
  return fs.CreateDirectory(dir);
}

}  // namespace quillon
