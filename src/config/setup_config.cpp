#include "config/setup_config.h"

#include "base/error.h"
#include "base/text.h"
#include "config/unReg_File.h"
#include "formats/base64.h"
#include "formats/ini_reader.h"

namespace quillon {

namespace {

std::string AsString(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// Text of a file the profile reader would read: UTF-16 little-endian after its byte-order
// mark, otherwise the ANSI code page.
std::wstring ProfileText(const Bytes& bytes, CodePage& code_page) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const unsigned unit = bytes[i] | (bytes[i + 1] << 8);
      if (sizeof(wchar_t) == 2 || unit < 0xD800 || unit > 0xDFFF) {
        text += static_cast<wchar_t>(unit);
        continue;
      }
      // 32-bit wide characters: join a surrogate pair into one code point.
      if (unit <= 0xDBFF && i + 3 < bytes.size()) {
        const unsigned low = bytes[i + 2] | (bytes[i + 3] << 8);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          text += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
          i += 2;
          continue;
        }
      }
      text += static_cast<wchar_t>(0xFFFD);
    }
    return text;
  }
  return code_page.FromAnsi(AsString(bytes));
}

// Five levels of base64, each read as text in the ANSI code page, as the twin was made.
std::wstring DecodeTwin(const Bytes& file_bytes, CodePage& code_page) {
  std::wstring text = JoinLinesCrLf(SplitLines(code_page.FromAnsi(AsString(file_bytes))));
  for (int level = 0; level < kConfigTwinLevels; ++level) {
    const std::vector<uint8_t> decoded = Base64Decode(code_page.ToAnsi(text));
    text = code_page.FromAnsi(std::string(decoded.begin(), decoded.end()));
  }
  return text;
}

bool LooksAbsolute(const std::wstring& path) {
  return path.find(L':') != std::wstring::npos ||
         (path.size() >= 2 && (path[0] == L'\\' || path[0] == L'/') &&
          (path[1] == L'\\' || path[1] == L'/'));
}

std::wstring ResolveIcon(const std::wstring& value, FileSystem& fs,
                         const std::wstring& installer_dir) {
  if (value.empty() || LooksAbsolute(value)) return std::wstring();
  const std::wstring path = installer_dir + value;
  return fs.FileExists(path) ? path : std::wstring();
}

}  // namespace

std::optional<std::wstring> LoadSetupConfigText(FileSystem& fs, CodePage& code_page,
                                                const std::wstring& installer_dir) {
  const std::wstring plain = installer_dir + kSetupConfigName;
  if (fs.FileExists(plain)) return ProfileText(fs.ReadFile(plain), code_page);
  const std::wstring twin = installer_dir + kSetupConfigTwinName;
  if (fs.FileExists(twin)) return DecodeTwin(fs.ReadFile(twin), code_page);
  return std::nullopt;
}

SetupConfig ParseSetupConfig(const std::wstring& text, FileSystem& fs,
                             const std::wstring& installer_dir) {
  const IniReader ini(text);
  const std::vector<std::wstring> sections = ini.SectionNames();
  const std::wstring section = sections.empty() ? std::wstring() : sections.front();
  auto str = [&](const wchar_t* key) { return ini.ReadString(section, key); };
  auto flag = [&](const wchar_t* key) { return ini.ReadString(section, key) == L"1"; };

  SetupConfig c;
  c.default_path = str(L"DEFAULT_PATH");
  if (c.default_path.empty()) c.default_path = kDefaultDestination;
  c.import_data_hint = str(L"IMPORT_DATA_HINT");
  c.default_db = str(L"DEFAULT_DB");
  c.extra_dir = str(L"EXTERAL_DIR_C");
  c.login_ip = str(L"LoginIP");
  c.login_db = str(L"LoginDB");
  c.no_display_login_ip = flag(L"NoDisplayLoginIP");
  c.no_display_login_db = flag(L"NoDisplayLoginDB");
  c.no_login_menu = flag(L"NoLoginMenu");
  c.login_menu_caption = str(L"LoginMenuCaption");
  c.no_excel_client = flag(L"NoExcelClient");
  c.no_excel_agent = flag(L"NoExcelAgent");
  c.silence_install = flag(L"SilenceInstall");
  c.auto_set_ie = flag(L"AutoSetIE");
  c.ip_for_set_ie = str(L"IPForSetIE");
  c.port_for_set_ie = str(L"PortForSetIE");
  c.create_shortcut_for_ie = flag(L"CreateShortCutForIE");
  if (c.create_shortcut_for_ie) c.shortcut_name_for_ie = str(L"ShortCutNameForIE");
  c.icon_path_client = ResolveIcon(str(L"ExcelClientIcon"), fs, installer_dir);
  c.icon_path_agent = ResolveIcon(str(L"ExcelAgentIcon"), fs, installer_dir);
  c.caption_client = str(L"ExcelClientCaption");
  c.caption_agent = str(L"ExcelAgentCaption");
  c.align_to_center = flag(L"AlignToCenter");
  return c;
}

void StoreAlignToCenter(Registry& registry, bool on) {
  WriteUserRegString(registry, kProductKey, L"AlignToCenter", on ? L"1" : L"0");
}

std::wstring ReadUpdateStamp(FileSystem& fs, CodePage& code_page, const std::wstring& dest_dir) {
  const std::wstring path = dest_dir + L"\\Stampfile.INI";
  const std::vector<std::wstring> lines =
      SplitLines(code_page.FromAnsi(AsString(fs.ReadFile(path))));
  if (lines.empty()) {
    throw FormatError(LocalText{L"更新时间文件 \"" + path + L"\" 是空的。",
                                L"更新時間檔案 \"" + path + L"\" 是空的。",
                                L"The update stamp file \"" + path + L"\" is empty."});
  }
  const size_t eq = lines.front().find(L'=');
  return eq == std::wstring::npos ? std::wstring() : lines.front().substr(eq + 1);
}

void SaveUpdateStamp(Registry& registry, FileSystem& fs, CodePage& code_page,
                     const std::wstring& dest_dir) {
  WriteUserRegString(registry, kProductKey, L"sLastUpdateTime",
                     ReadUpdateStamp(fs, code_page, dest_dir));
}

}  // namespace quillon
