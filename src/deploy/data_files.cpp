#include "deploy/data_files.h"

#include "base/error.h"
#include "base/text.h"
#include "config/unReg_File.h"
#include "deploy/unFileAndDir.h"
#include "formats/datasnap.h"

namespace quillon {

bool IsPlainName(const std::wstring& name) {
  if (name.empty()) return false;
  bool only_dots_and_blanks = true;
  for (wchar_t c : name) {
    if (c < 0x20) return false;
    if (std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos) return false;
    if (c != L'.' && c != L' ') only_dots_and_blanks = false;
  }
  return !only_dots_and_blanks;
}

void ExpandIconSet(FileSystem& fs, CodePage& code_page, const std::wstring& dataset_path,
                   const std::wstring& dest) {
  const datasnap::Packet packet = datasnap::ReadPacket(fs.ReadFile(dataset_path));
  const auto rows = packet.CurrentRows();
  if (rows.empty()) return;
  const std::wstring icon_dir = dest + L"\\Icon";
  try {
    EnsureFolder(fs, icon_dir);
  } catch (const Error&) {
    // A folder that cannot be made shows as rows that cannot be written.
  }
  for (const datasnap::Row* row : rows) {
    try {
      const std::wstring name = packet.Text(*row, L"sName", code_page);
      // Nothing may be written outside the Icon folder.
      if (!IsPlainName(name)) continue;
      fs.WriteFile(icon_dir + L"\\" + name, packet.Blob(*row, L"sFile"));
    } catch (const Error&) {
      // A row that cannot be written is skipped; the next one follows.
    }
  }
}

void CopyProductInfoFile(FileSystem& fs, const std::wstring& installer_dir,
                         const std::wstring& dest) {
  const std::wstring source = installer_dir + L"PInfo.dat";
  if (!fs.FileExists(source)) return;
  fs.WriteFile(dest + L"\\PInfo.dat", fs.ReadFile(source));
}

void CopyExtraFilesFolder(FileSystem& fs, Shell& shell, WindowHandle owner,
                          const std::wstring& installer_dir, const std::wstring& ex_dir,
                          const std::wstring& dest) {
  if (ex_dir.empty()) return;
  // Only a folder beside the installer: the target is deleted first, so a name that reaches
  // elsewhere would delete outside the destination.
  if (!IsPlainName(ex_dir)) return;
  const std::wstring source = installer_dir + ex_dir;
  if (!fs.DirectoryExists(source)) return;
  ReplaceFolderCopy(fs, shell, owner, source, dest + L"\\" + ex_dir + L"\\");
}

void CopyIconFiles(FileSystem& fs, Registry& registry, const std::wstring& dest,
                   std::wstring& icon_path_agent, std::wstring& icon_path_client) {
  if (!icon_path_agent.empty()) {
    const std::wstring target = dest + L"\\" + ExtractFileName(icon_path_agent);
    fs.CopyFile(icon_path_agent, target);
    icon_path_agent = target;
  }
  WriteUserRegString(registry, kProductKey, L"ExcelAgentIcon", icon_path_agent);
  if (!icon_path_client.empty()) {
    const std::wstring target = dest + L"\\" + ExtractFileName(icon_path_client);
    fs.CopyFile(icon_path_client, target);
    icon_path_client = target;
  }
}

}  // namespace quillon
