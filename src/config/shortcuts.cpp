#include "config/shortcuts.h"

#include "lang/language.h"
#include "base/error.h"
#include "base/text.h"
#include "config/unReg_File.h"

namespace quillon {

namespace {

// Saves `name`.lnk in the start-menu Programs folder or on the desktop; the name may lead
// into the program group. A folder the system cannot tell counts as a shortcut not saved.
void CreateShellLink(Shell& shell, const std::wstring& target, const std::wstring& name,
                     const std::wstring& arguments, const std::wstring& icon, bool start_menu) {
  const std::wstring folder =
      shell.FolderPath(start_menu ? SpecialFolder::StartMenuPrograms : SpecialFolder::Desktop);
  if (folder.empty()) return;
  ShellLinkSpec link{target, arguments, ExtractFilePath(target), icon};
  shell.SaveShellLink(folder + L"\\" + name + L".lnk", link);
}

void CreateStartMenuLink(Shell& shell, const std::wstring& target, const std::wstring& name,
                         const std::wstring& arguments, const std::wstring& icon) {
  CreateShellLink(shell, target, name, arguments, icon, true);
}

void CreateProgramGroup(Shell& shell, FileSystem& files, const std::wstring& group) {
  const std::wstring programs = shell.FolderPath(SpecialFolder::StartMenuPrograms);
  if (programs.empty()) return;
  try {
    ForceDirectories(files, programs + L"\\" + group);
  } catch (const Error&) {
    // A group that cannot be made leaves its shortcuts out; the desktop ones still come.
  }
}

}  // namespace

ShortcutNames NamesOfShortcuts(const ShortcutSettings& s) {
  const std::wstring product = s.oem_name.empty() ? std::wstring(L"Quillon") : s.oem_name;
  const std::wstring client = LangText(L"Excel客户端", L"Excel用戶端", L"Excel Client");
  const std::wstring agent = s.oem_agent_name.empty()
                                 ? LangText(L"填报精灵", L"填報精靈", L"Report Agent")
                                 : s.oem_agent_name;
  ShortcutNames n;
  n.group = product + LangText(L"客户端", L"用戶端", L" Client");
  n.client_in_group = s.caption_client.empty() ? product + L"-" + client : s.caption_client;
  n.client_on_desktop = s.caption_client.empty() ? client : s.caption_client;
  n.agent_in_group = s.caption_agent.empty() ? product + L"-" + agent : s.caption_agent;
  n.agent_on_desktop = s.caption_agent.empty() ? agent : s.caption_agent;
  n.uninstall = LangText(L"卸载", L"卸載", L"UnInstall") + L" " + product;
  return n;
}

std::wstring LoginArguments(const ShortcutSettings& s) {
  return Trim(s.login_ip + L" " + s.login_db + L" " + (s.no_display_login_ip ? L"1" : L"") + L" " +
              (s.no_display_login_db ? L"1" : L""));
}

void CreateShortcuts(const ShortcutSettings& s, Shell& shell, FileSystem& files,
                     Registry& registry) {
  const ShortcutNames n = NamesOfShortcuts(s);
  CreateProgramGroup(shell, files, n.group);
  const std::wstring arguments = LoginArguments(s);
  if (!s.no_client) {
    const std::wstring target = s.dest + L"\\SheetDesk.exe";
    CreateStartMenuLink(shell, target, n.group + L"\\" + n.client_in_group, L"", s.icon_client);
    CreateShellLink(shell, target, n.client_on_desktop, L"", s.icon_client, false);
    WriteUserRegString(registry, kProductKey, L"ExcelClientCaption", n.client_on_desktop);
  }
  if (!s.no_agent) {
    const std::wstring target = s.dest + L"\\VXKALDERAgent.exe";
    CreateStartMenuLink(shell, target, n.group + L"\\" + n.agent_in_group, arguments, s.icon_agent);
    CreateShellLink(shell, target, n.agent_on_desktop, arguments, s.icon_agent, false);
    WriteUserRegString(registry, kProductKey, L"ExcelAgentCaption", n.agent_on_desktop);
  }
  CreateStartMenuLink(shell, s.dest + L"\\UnInstallClient_VXKALDER.exe",
                      n.group + L"\\" + n.uninstall, L"", L"");
}

}  // namespace quillon
