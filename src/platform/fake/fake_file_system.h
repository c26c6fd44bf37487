#pragma once
// In-memory file system with the Windows rules the installer meets: drive letters, "\" (or
// "/") separators, names compared without regard to ASCII letter case and kept as first
// created, files that can be locked (a running program, a loaded DLL: reads work, writes and
// deletes fail with an in-use error naming the path), and read-only folders (nothing can be
// created, replaced or deleted directly inside them). Drive C: exists from the start.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ports/file_system.h"

namespace quillon {

class FakeFileSystem : public FileSystem {
 public:
  FakeFileSystem();
  ~FakeFileSystem() override;

  bool FileExists(const std::wstring& path) override;
  bool DirectoryExists(const std::wstring& path) override;
  Bytes ReadFile(const std::wstring& path) override;
  Bytes ReadFileStart(const std::wstring& path, size_t max_bytes) override;
  void WriteFile(const std::wstring& path, const Bytes& data) override;
  // The bytes are held aside and written by Commit with WriteFile's rules.
  std::unique_ptr<FileReplacement> BeginReplace(const std::wstring& path) override;
  void DeleteFile(const std::wstring& path) override;
  bool CreateDirectory(const std::wstring& path) override;
  bool CopyFile(const std::wstring& from, const std::wstring& to) override;
  std::vector<std::wstring> ListDirectory(const std::wstring& path) override;

  // Test controls. They ignore locks and read-only folders, and throw std::invalid_argument
  // for a path that is not absolute or runs into a file where a folder should be.
  void AddDrive(const std::wstring& drive);  // "D:"
  // Whether a drive that a path names and the machine lacks comes into being as an empty
  // fixed drive when the path is first looked at (off: such paths lead nowhere).
  void SetDrivesOnDemand(bool on) { drives_on_demand_ = on; }
  // The drives there are, upper-cased "X:", in letter order.
  std::vector<std::wstring> Drives() const;
  void AddFolder(const std::wstring& path);                   // with every missing level
  void AddFile(const std::wstring& path, const Bytes& data);  // with its folders; replaces
  void AddFile(const std::wstring& path, const std::string& text);
  void Lock(const std::wstring& file, bool locked = true);              // the file must exist
  void SetReadOnly(const std::wstring& folder, bool read_only = true);  // must exist
  // Content of a file; nothing when there is no such file.
  std::optional<Bytes> Contents(const std::wstring& path) const;
  std::optional<std::string> Text(const std::wstring& path) const;
  // Every folder (ending in "\") and file, as full paths with their stored names, parents
  // before their contents, siblings in case-insensitive name order.
  std::vector<std::wstring> ListAll() const;

  // Folder-tree operations for the fake shell. RemoveTree deletes a folder with everything
  // in it, and nothing when anything inside is locked or read-only. CopyTree copies a folder
  // to `to`, which must not exist and whose parent must be a writable folder. Both return
  // whether they did it.
  bool RemoveTree(const std::wstring& folder);
  bool CopyTree(const std::wstring& from, const std::wstring& to);

  struct Node;

 private:
  struct Location;
  Location Locate(const std::wstring& path) const;
  static std::unique_ptr<Node> NewDriveRoot(const std::wstring& drive);  // "X:", upper-cased
  Node* MakeFolders(const std::wstring& path, bool include_last);

  // By upper-cased "X:". Mutable: with drives on demand, looking a path up may add its drive.
  mutable std::map<std::wstring, std::unique_ptr<Node>> drives_;
  bool drives_on_demand_ = false;
};

}  // namespace quillon
