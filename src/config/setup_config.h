#pragma once
// The setup configuration a distributor places beside the installer: "SysSetup.ini", or its
// encoded twin "SysSetup2.ini" (five levels of base64), read into one set of values; and the
// update stamp of an installed client.

#include <optional>
#include <string>

#include "platform/ports/code_page.h"
#include "platform/ports/file_system.h"
#include "platform/ports/registry.h"

namespace quillon {

inline const std::wstring kSetupConfigName = L"SysSetup.ini";
inline const std::wstring kSetupConfigTwinName = L"SysSetup2.ini";
inline const std::wstring kDefaultDestination = L"C:\\Tovrin";

// Every key of one reading. Texts are as read (empty when missing); flags are on only for
// the exact value "1".
struct SetupConfig {
  std::wstring default_path;      // DEFAULT_PATH; "C:\Tovrin" when missing or empty
  std::wstring import_data_hint;  // IMPORT_DATA_HINT; empty: the caption stays
  std::wstring default_db;        // DEFAULT_DB; empty: the box stays
  std::wstring extra_dir;         // EXTERAL_DIR_C
  std::wstring login_ip;          // LoginIP
  std::wstring login_db;          // LoginDB
  bool no_display_login_ip = false;
  bool no_display_login_db = false;
  bool no_login_menu = false;
  std::wstring login_menu_caption;
  bool no_excel_client = false;
  bool no_excel_agent = false;
  bool silence_install = false;
  bool auto_set_ie = false;
  std::wstring ip_for_set_ie;
  std::wstring port_for_set_ie;
  bool create_shortcut_for_ie = false;
  // Looked up only when create_shortcut_for_ie is on; nothing otherwise.
  std::optional<std::wstring> shortcut_name_for_ie;
  // ExcelClientIcon / ExcelAgentIcon: the installer folder followed by the value when that
  // file exists, else empty. A value with a drive or a leading "\\" is never taken.
  std::wstring icon_path_client;
  std::wstring icon_path_agent;
  std::wstring caption_client;  // ExcelClientCaption
  std::wstring caption_agent;   // ExcelAgentCaption
  bool align_to_center = false;
};

// The configuration text beside the installer (`installer_dir` ends with "\"): the content
// of "SysSetup.ini" when that file exists (ANSI code page, or UTF-16 with its byte-order
// mark), else the decoded content of "SysSetup2.ini" when that exists, else nothing. The
// twin is decoded in memory, going through the ANSI code page at each of its five levels;
// nothing is written beside the installer. FileError when a file exists but cannot be read.
std::optional<std::wstring> LoadSetupConfigText(FileSystem& fs, CodePage& code_page,
                                                const std::wstring& installer_dir);

// The keys of the first section of a configuration text (the empty section name when it has
// no section line), with icon paths resolved against `installer_dir`.
SetupConfig ParseSetupConfig(const std::wstring& text, FileSystem& fs,
                             const std::wstring& installer_dir);

// Stores AlignToCenter in the product key of the user hive: "1" when on, else "0".
void StoreAlignToCenter(Registry& registry, bool on);

// The update stamp of an installed client: the first line of `dest_dir`\Stampfile.INI
// (ANSI code page), the text after its first "=" (empty without one). FileError when the file
// cannot be read; FormatError when it holds no line.
std::wstring ReadUpdateStamp(FileSystem& fs, CodePage& code_page, const std::wstring& dest_dir);

// Stores ReadUpdateStamp of `dest_dir` as sLastUpdateTime in the user hive; nothing is stored
// when reading fails.
void SaveUpdateStamp(Registry& registry, FileSystem& fs, CodePage& code_page,
                     const std::wstring& dest_dir);

}  // namespace quillon
