#include "deploy/unFileAndDir.h"

#include "base/error.h"
#include "base/text.h"

namespace quillon {

namespace {

constexpr int kPollMilliseconds = 10;

}  // namespace

bool RunAndWait(Processes& processes, const MessagePump& serve, const std::wstring& program,
                const std::wstring& parameters, ShowMode show) {
  std::unique_ptr<StartedProcess> child = processes.Start(program, parameters, show);
  if (!child) return false;
  child->WaitUntilIdle();
  while (!child->WaitForExit(kPollMilliseconds)) {
    if (serve) serve();
  }
  return true;
}

bool StopProcessByName(Processes& processes, const std::wstring& upper_name) {
  for (const ProcessEntry& entry : processes.Snapshot()) {
    if (UpperAscii(ExtractFileName(entry.exe_path)) != upper_name) continue;
    // A process that cannot be opened or ended (another user's, say) still counts as found.
    processes.Terminate(entry.id);
    return true;
  }
  return false;
}

std::wstring GetSystemDir(Shell& shell) {
  std::wstring dir = shell.FolderPath(SpecialFolder::System);
  // Without this check an empty answer would turn into "\", the root of the current drive,
  // and system files and the registration tool would be looked for there.
  if (dir.empty()) {
    throw FileError(LocalText{L"找不到 Windows 系统文件夹", L"找不到 Windows 系統資料夾",
                              L"Cannot find the Windows system folder"});
  }
  if (dir.back() != L'\\') dir += L'\\';
  return dir;
}

std::wstring GetCommonAppDataDir(Shell& shell) {
  std::wstring dir = shell.FolderPath(SpecialFolder::CommonAppData);
  if (dir.empty()) {
    throw FileError(LocalText{L"找不到所有用户共用的应用程序数据文件夹",
                              L"找不到所有使用者共用的應用程式資料夾",
                              L"Cannot find the common application data folder"});
  }
  return dir;
}

void EnsureFolder(FileSystem& fs, const std::wstring& folder) {
  if (!folder.empty() && fs.DirectoryExists(folder)) return;
  bool made = false;
  try {
    made = ForceDirectories(fs, folder);
  } catch (const FileError&) {
    made = false;
  }
  if (!made) {
    throw FileError(LocalText{L"不能建立目录：" + folder, L"不能建立目錄：" + folder,
                              L"Cannot create directory: " + folder});
  }
}

void ReplaceFolderCopy(FileSystem& fs, Shell& shell, WindowHandle owner, const std::wstring& source,
                       const std::wstring& target) {
  // Copying onto an existing folder would nest the copy inside it, so it goes first.
  if (fs.DirectoryExists(target)) shell.DeleteFolder(owner, target);
  shell.CopyFolder(owner, source, target);
}

}  // namespace quillon
