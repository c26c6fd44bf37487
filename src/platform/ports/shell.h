#pragma once
// The Windows shell: opening a program or document, deleting and copying whole folders
// without questions, and the paths of the special folders the installer writes to.

#include <string>

namespace quillon {

// How a started program shows its main window.
enum class ShowMode { Hide, Normal, Show };

// A native window handle (an HWND on Windows); nullptr for none.
using WindowHandle = void*;

enum class SpecialFolder {
  System,             // the Windows system folder
  CommonAppData,      // application data shared by all users
  Desktop,            // the current user's file-system desktop
  StartMenuPrograms,  // the current user's start-menu Programs folder
};

// What a shortcut file holds: the program it starts, its arguments, its working folder and
// its icon (empty: the target's own icon, index 0).
struct ShellLinkSpec {
  std::wstring target, arguments, working_folder, icon_path;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens `file` with the "open" verb, the given parameters and working folder (either may
  // be empty), no owner window, and does not wait. True when the shell started it.
  virtual bool Open(const std::wstring& file, const std::wstring& parameters,
                    const std::wstring& directory, ShowMode show) = 0;
  // Deletes a folder with everything in it, permanently and without confirmation. The shell
  // may show progress owned by `owner`. True when the whole folder is gone.
  virtual bool DeleteFolder(WindowHandle owner, const std::wstring& folder) = 0;
  // Copies a folder with everything in it, without confirmation. A missing `to` becomes the
  // copy; an existing `to` receives the copy as a subfolder (the shell's rule). True when
  // everything was copied.
  virtual bool CopyFolder(WindowHandle owner, const std::wstring& from, const std::wstring& to) = 0;
  // Path of a special folder as the system gives it (no trailing separator unless it is a
  // drive root); empty when the system cannot tell.
  virtual std::wstring FolderPath(SpecialFolder folder) = 0;
  // Saves a shortcut file (replacing one of that name) through the shell's link object. False
  // when the file could not be saved; Error when the link object itself cannot be had.
  virtual bool SaveShellLink(const std::wstring& file, const ShellLinkSpec& link) = 0;
};

}  // namespace quillon
