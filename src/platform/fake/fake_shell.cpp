#include "platform/fake/fake_shell.h"

#include "base/error.h"
#include "base/text.h"
#include "formats/shell_link_writer.h"
#include "platform/fake/fake_file_system.h"

namespace quillon {

namespace {

std::wstring WithoutTrailingSeparators(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

}  // namespace

FakeShell::FakeShell(FakeFileSystem* fs) : fs_(fs) {
  folders[SpecialFolder::System] = L"C:\\windows\\system32";
  folders[SpecialFolder::CommonAppData] = L"C:\\ProgramData";
  folders[SpecialFolder::Desktop] = L"C:\\users\\user\\Desktop";
  folders[SpecialFolder::StartMenuPrograms] =
      L"C:\\users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
}

bool FakeShell::Open(const std::wstring& file, const std::wstring& parameters,
                     const std::wstring& directory, ShowMode show) {
  opened.push_back({file, parameters, directory, show});
  return open_succeeds;
}

bool FakeShell::DeleteFolder(WindowHandle owner, const std::wstring& folder) {
  folder_ops.push_back({FolderOpKind::Delete, owner, folder, {}});
  if (!fs_) return folder_ops_succeed;
  return fs_->RemoveTree(WithoutTrailingSeparators(folder));
}

bool FakeShell::CopyFolder(WindowHandle owner, const std::wstring& from, const std::wstring& to) {
  folder_ops.push_back({FolderOpKind::Copy, owner, from, to});
  if (!fs_) return folder_ops_succeed;
  const std::wstring source = WithoutTrailingSeparators(from);
  std::wstring target = WithoutTrailingSeparators(to);
  if (!fs_->DirectoryExists(source)) return false;
  // An existing target receives the copy as a subfolder; missing levels above a new target
  // are made without asking.
  if (fs_->DirectoryExists(target)) {
    target += L"\\" + ExtractFileName(source);
  } else if (!ForceDirectories(*fs_, ExtractFilePath(target))) {
    return false;
  }
  return fs_->CopyTree(source, target);
}

std::wstring FakeShell::FolderPath(SpecialFolder folder) {
  auto it = folders.find(folder);
  return it == folders.end() ? std::wstring() : it->second;
}

bool FakeShell::SaveShellLink(const std::wstring& file, const ShellLinkSpec& link) {
  if (!link_object_available) throw Error(L"Class not registered");
  links.emplace_back(file, link);
  if (!fs_) return true;
  ShellLinkFields fields{link.target, link.arguments, link.working_folder, link.icon_path, 0};
  try {
    fs_->WriteFile(file, WriteShellLinkFile(fields, code_page_));
  } catch (const FileError&) {
    return false;
  }
  return true;
}

}  // namespace quillon
