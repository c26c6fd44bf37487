#include "platform/win32/win32_shell.h"

#include "platform/win32/win32_com_apartment.h"
#include "platform/win32/win32_late_imports.h"
#include "platform/win32/windows_api.h"
// After <windows.h>:
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "base/error.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_handles.h"

namespace quillon {

namespace {

// SHFileOperationW takes lists of paths, each ended by a NUL and the list by a second one.
// A folder is passed without trailing separators: the shell does not take "dir\" for "dir".
std::wstring PathList(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  path.push_back(L'\0');
  return path;  // c_str() adds the second NUL
}

bool RunFileOperation(WindowHandle owner, UINT function, const std::wstring& from,
                      const std::wstring& to) {
  const std::wstring from_list = PathList(from);
  const std::wstring to_list = to.empty() ? std::wstring() : PathList(to);
  SHFILEOPSTRUCTW op{};
  op.hwnd = static_cast<HWND>(owner);
  op.wFunc = function;
  op.pFrom = from_list.c_str();
  op.pTo = to.empty() ? nullptr : to_list.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR;
  EnterComApartment();
  return late::SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

std::wstring ShellFolder(int csidl) {
  ITEMIDLIST* raw = nullptr;
  if (FAILED(late::SHGetSpecialFolderLocation(nullptr, csidl, &raw)) || !raw) return {};
  UniqueItemList list(raw);
  wchar_t path[MAX_PATH + 1] = {};
  if (!late::SHGetPathFromIDListW(list.get(), path)) return {};
  return path;
}

std::wstring SystemFolder() {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  UINT length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
  if (length >= buffer.size()) {  // too small: the answer is the size needed
    buffer.resize(length + 1);
    length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) return {};
  }
  return std::wstring(buffer.data(), length);
}

// The shell link object could not be made or asked for its file interface; `hr` says why.
Error ShellLinkUnavailable(HRESULT hr) {
  const std::wstring why = SystemErrorText(static_cast<unsigned long>(hr));
  return Error(LocalText{L"无法使用快捷方式对象：" + why, L"無法使用捷徑物件：" + why,
                         L"The shell link object is not available: " + why});
}

}  // namespace

int ShowCommand(ShowMode show) {
  switch (show) {
    case ShowMode::Hide:
      return SW_HIDE;
    case ShowMode::Show:
      return SW_SHOW;
    case ShowMode::Normal:
      break;
  }
  return SW_SHOWNORMAL;
}

bool Win32Shell::Open(const std::wstring& file, const std::wstring& parameters,
                      const std::wstring& directory, ShowMode show) {
  EnterComApartment();
  HINSTANCE result = late::ShellExecuteW(
      nullptr, L"open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
      directory.empty() ? nullptr : directory.c_str(), ShowCommand(show));
  // Values up to 32 are error codes.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::DeleteFolder(WindowHandle owner, const std::wstring& folder) {
  return RunFileOperation(owner, FO_DELETE, folder, std::wstring());
}

bool Win32Shell::CopyFolder(WindowHandle owner, const std::wstring& from, const std::wstring& to) {
  return RunFileOperation(owner, FO_COPY, from, to);
}

std::wstring Win32Shell::FolderPath(SpecialFolder folder) {
  switch (folder) {
    case SpecialFolder::System:
      return SystemFolder();
    case SpecialFolder::CommonAppData:
      return ShellFolder(CSIDL_COMMON_APPDATA);
    case SpecialFolder::Desktop:
      return ShellFolder(CSIDL_DESKTOPDIRECTORY);
    case SpecialFolder::StartMenuPrograms:
      return ShellFolder(CSIDL_PROGRAMS);
  }
  return {};
}

bool Win32Shell::SaveShellLink(const std::wstring& file, const ShellLinkSpec& link) {
  EnterComApartment();
  IShellLinkW* shell_link = nullptr;
  HRESULT hr = late::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, reinterpret_cast<void**>(&shell_link));
  if (FAILED(hr) || !shell_link) {
    throw ShellLinkUnavailable(FAILED(hr) ? hr : E_NOINTERFACE);
  }
  IPersistFile* persist = nullptr;
  hr = shell_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
  if (FAILED(hr) || !persist) {
    shell_link->Release();
    throw ShellLinkUnavailable(FAILED(hr) ? hr : E_NOINTERFACE);
  }
  if (!link.arguments.empty()) shell_link->SetArguments(link.arguments.c_str());
  shell_link->SetPath(link.target.c_str());
  shell_link->SetWorkingDirectory(link.working_folder.c_str());
  shell_link->SetIconLocation(link.icon_path.c_str(), 0);
  const bool saved = SUCCEEDED(persist->Save(file.c_str(), FALSE));
  persist->Release();
  shell_link->Release();
  return saved;
}

}  // namespace quillon
