#pragma once
// The shortcuts of an installed client: a program group in the user's start menu with the
// Excel client, the agent and the uninstall program, desktop shortcuts to the client and the
// agent, and the desktop names recorded in the product key.

#include <string>

#include "platform/ports/file_system.h"
#include "platform/ports/registry.h"
#include "platform/ports/shell.h"

namespace quillon {

struct ShortcutSettings {
  std::wstring dest;                           // installed folder, no trailing "\"
  std::wstring oem_name, oem_agent_name;       // reseller names; empty: the product's own
  std::wstring caption_client, caption_agent;  // configured shortcut names; empty: built-in
  std::wstring icon_client, icon_agent;        // icon files; empty: the program's own icon
  std::wstring login_ip, login_db;
  bool no_display_login_ip = false, no_display_login_db = false;
  bool no_client = false, no_agent = false;  // leave out the client / agent shortcuts
};

// The names of the current language (LangText).
struct ShortcutNames {
  std::wstring group;
  std::wstring client_in_group, client_on_desktop;
  std::wstring agent_in_group, agent_on_desktop;
  std::wstring uninstall;
};
ShortcutNames NamesOfShortcuts(const ShortcutSettings& settings);

// The agent's arguments: login server, database and the two "do not display" marks,
// separated by blanks, trimmed at both ends.
std::wstring LoginArguments(const ShortcutSettings& settings);

// Makes the program group and the shortcuts in their order, and stores ExcelClientCaption
// and ExcelAgentCaption for the shortcuts made. A shortcut that cannot be saved is left out;
// a missing link object raises.
void CreateShortcuts(const ShortcutSettings& settings, Shell& shell, FileSystem& files,
                     Registry& registry);

}  // namespace quillon
