#pragma once
// Files and folders on a Windows disk. A write goes to a temporary file beside the target,
// "<target>.~<process id>-<n>.tmp", which then takes the target's place in one rename, so a
// failed write leaves the old file whole and a file that is in use is left as it was; a failed
// write deletes its temporary file, and a write removes those that earlier writes of the same
// target left when their process was killed. Errors are FileError carrying the path and the
// system's own text (an in-use error names the file that is in use).

#include "platform/ports/file_system.h"

namespace quillon {

class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::wstring& path) override;
  bool DirectoryExists(const std::wstring& path) override;
  Bytes ReadFile(const std::wstring& path) override;
  Bytes ReadFileStart(const std::wstring& path, size_t max_bytes) override;
  void WriteFile(const std::wstring& path, const Bytes& data) override;
  std::unique_ptr<FileReplacement> BeginReplace(const std::wstring& path) override;
  void DeleteFile(const std::wstring& path) override;
  bool CreateDirectory(const std::wstring& path) override;
  bool CopyFile(const std::wstring& from, const std::wstring& to) override;
  std::vector<std::wstring> ListDirectory(const std::wstring& path) override;
};

}  // namespace quillon
