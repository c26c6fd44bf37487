#pragma once
// Files and folders, addressed by Windows paths ("C:\dir\file"). Names compare without
// regard to letter case, as on Windows. Failures raise FileError with the platform's text.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/stream.h"

namespace quillon {

using Bytes = std::vector<uint8_t>;

// A file being written whole. The bytes go to a temporary place and become the file only on
// Commit, in one step; dropped without Commit, it leaves the old file exactly as it was.
// Reading from it raises Error.
class FileReplacement : public Stream {
 public:
  // Makes the written bytes the file. FileError naming the file when that is refused (a file
  // in use, no rights).
  virtual void Commit() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::wstring& path) = 0;
  virtual bool DirectoryExists(const std::wstring& path) = 0;
  // Whole file; FileError when it cannot be opened or read.
  virtual Bytes ReadFile(const std::wstring& path) = 0;
  // At most the first `max_bytes` of a file (fewer when it is shorter); FileError as ReadFile.
  virtual Bytes ReadFileStart(const std::wstring& path, size_t max_bytes) = 0;
  // Creates or replaces the file whole. The old content stays until the new one is complete
  // (written beside and renamed over), so a failure never leaves a torn file, nor does a
  // process killed meanwhile; what such a killed write left beside the file is removed by the
  // next write of it. FileError whose message names the path on failure.
  virtual void WriteFile(const std::wstring& path, const Bytes& data) = 0;
  // Starts writing `path` whole as a stream, for content too large to hold in memory first.
  // FileError naming the path when the temporary place cannot be made.
  virtual std::unique_ptr<FileReplacement> BeginReplace(const std::wstring& path) = 0;
  // FileError when the file exists and cannot be deleted; a missing file is no error.
  virtual void DeleteFile(const std::wstring& path) = 0;
  // Creates one folder level; true when it exists afterwards.
  virtual bool CreateDirectory(const std::wstring& path) = 0;
  // Copies a file, replacing the target; false on failure.
  virtual bool CopyFile(const std::wstring& from, const std::wstring& to) = 0;
  // Names (not paths) of the entries of a folder; empty when it does not exist.
  virtual std::vector<std::wstring> ListDirectory(const std::wstring& path) = 0;
};

// Creates every missing level of a path, top down; true when the folder exists afterwards.
// Throws FileError for an empty path.
bool ForceDirectories(FileSystem& fs, const std::wstring& path);

}  // namespace quillon
