#pragma once
// Shell stand-in for tests: records what was opened and every folder operation, answers
// special folders from a table, and, when given a FakeFileSystem, carries the folder
// operations out on it with the shell's rules.

#include <map>
#include <string>
#include <vector>

#include "platform/fake/fake_code_page.h"
#include "platform/ports/shell.h"

namespace quillon {

class FakeFileSystem;

class FakeShell : public Shell {
 public:
  struct Opened {
    std::wstring file, parameters, directory;
    ShowMode show = ShowMode::Normal;
  };
  enum class FolderOpKind { Delete, Copy };
  struct FolderOp {
    FolderOpKind kind = FolderOpKind::Delete;
    WindowHandle owner = nullptr;
    std::wstring from, to;  // Delete: `from` is the folder
  };

  // Special folders start as on an English Windows with user "user" (system folder
  // "C:\windows\system32", shared data "C:\ProgramData"...).
  explicit FakeShell(FakeFileSystem* fs = nullptr);

  bool Open(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory,
            ShowMode show) override;
  bool DeleteFolder(WindowHandle owner, const std::wstring& folder) override;
  bool CopyFolder(WindowHandle owner, const std::wstring& from, const std::wstring& to) override;
  std::wstring FolderPath(SpecialFolder folder) override;
  // Writes the shortcut as a Shell Link file into the fake file system (the link is only
  // recorded without one); false when that file cannot be written.
  bool SaveShellLink(const std::wstring& file, const ShellLinkSpec& link) override;

  // Script. Without a file system the folder operations answer `folder_ops_succeed`.
  bool open_succeeds = true;
  bool folder_ops_succeed = true;
  bool link_object_available = true;              // false: SaveShellLink raises
  std::map<SpecialFolder, std::wstring> folders;  // a missing entry reads as empty

  // Record.
  std::vector<Opened> opened;
  std::vector<FolderOp> folder_ops;
  std::vector<std::pair<std::wstring, ShellLinkSpec>> links;  // every save asked for, in order

 private:
  FakeFileSystem* fs_;
  FakeCodePage code_page_{"GBK"};
};

}  // namespace quillon
