#pragma once
// The Windows shell: ShellExecuteW, SHFileOperationW without confirmations, and the special
// folders through GetSystemDirectoryW, SHGetSpecialFolderLocation and SHGetPathFromIDListW.

#include "platform/ports/shell.h"

namespace quillon {

class Win32Shell : public Shell {
 public:
  bool Open(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory,
            ShowMode show) override;
  bool DeleteFolder(WindowHandle owner, const std::wstring& folder) override;
  bool CopyFolder(WindowHandle owner, const std::wstring& from, const std::wstring& to) override;
  std::wstring FolderPath(SpecialFolder folder) override;
  bool SaveShellLink(const std::wstring& file, const ShellLinkSpec& link) override;
};

// The ShowWindow command (SW_...) for a show mode.
int ShowCommand(ShowMode show);

}  // namespace quillon
