// Whether the registered Excel can host the client: registered at all, and a 32-bit build.
#include <cwctype>

#include "base/text.h"
#include "config/unReg_File.h"
#include "formats/pe_header.h"
#include "office/unPub_Excel.h"

namespace quillon {

namespace {

const std::wstring kShowLogin = L"ShowLoginWhenOpenExcel";
const std::wstring kClickToRunKey = L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration";
// Office's own product codes end in this group; the platform digit then leads the fourth.
const std::wstring kOfficeCodeEnd = L"0000000FF1CE}";

bool IsOfficeProductCode(const std::wstring& code) {
  return code.size() > kOfficeCodeEnd.size() &&
         SameTextAscii(code.substr(code.size() - kOfficeCodeEnd.size()), kOfficeCodeEnd);
}

// The Part of Office's numbering scheme: the 21st character is the platform digit.
bool PlatformDigitSays32Bit(const std::wstring& code) {
  return code.size() <= 20 || code[20] == L'0';
}

std::optional<uint16_t> ServerMachine(Automation& automation, FileSystem& files) {
  const std::wstring program = ProgramOfCommand(automation.LocalServerCommand(kExcelProgId));
  if (program.empty()) return std::nullopt;
  try {
    Bytes start = files.ReadFileStart(program, 4096);
    // A long MS-DOS stub puts the signature further in.
    const std::optional<uint32_t> at = PeSignatureOffset(start);
    if (at && *at + 6 > start.size() && *at < (1u << 20))
      start = files.ReadFileStart(program, *at + 6);
    return PeMachine(start);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

std::wstring ClickToRunPlatform(Registry& registry) {
  // Click-to-Run records itself in the machine's native view.
  for (RootKey root : {RootKey::LocalMachine64, RootKey::LocalMachine}) {
    auto key = registry.OpenForRead(root, kClickToRunKey);
    if (key && key->ValueKind(L"Platform") == RegValueKind::String) {
      const std::wstring platform = Trim(key->ReadString(L"Platform"));
      if (!platform.empty()) return platform;
    }
  }
  return {};
}

// The user's own ShowLoginWhenOpenExcel, when there is one to put back.
std::optional<std::wstring> EarlierShowLogin(Registry& registry) {
  auto key = registry.OpenForRead(RootKey::CurrentUser, kProductKey);
  if (!key || key->ValueKind(kShowLogin) != RegValueKind::String) return std::nullopt;
  return key->ReadString(kShowLogin);
}

}  // namespace

bool IsExcelRegistered(Automation& automation) {
  return automation.IsRegistered(kExcelProgId);
}

int MajorVersion(const std::wstring& version) {
  const std::wstring text = Trim(version);
  size_t i = 0;
  const bool negative = i < text.size() && text[i] == L'-';
  if (negative || (i < text.size() && text[i] == L'+')) ++i;
  long long value = 0;
  const size_t first = i;
  while (i < text.size() && text[i] >= L'0' && text[i] <= L'9' && value < 100000) {
    value = value * 10 + (text[i] - L'0');
    ++i;
  }
  if (i == first) {
    throw AutomationError(
        LocalText{L"Excel 报告的版本号 \"" + version + L"\" 不是数字。",
                  L"Excel 回報的版本號 \"" + version + L"\" 不是數字。",
                  L"Excel reported the version \"" + version + L"\", which is not a number."});
  }
  return static_cast<int>(negative ? -value : value);
}

std::wstring ProgramOfCommand(const std::wstring& command) {
  const std::wstring text = Trim(command);
  if (text.empty()) return {};
  if (text[0] == L'"') {
    const size_t close = text.find(L'"', 1);
    return close == std::wstring::npos ? text.substr(1) : text.substr(1, close - 1);
  }
  // Unquoted paths may hold blanks: the program ends with its ".exe".
  const size_t exe = UpperAscii(text).find(L".EXE");
  if (exe != std::wstring::npos) return text.substr(0, exe + 4);
  return text.substr(0, text.find_first_of(L" \t"));
}

bool IsProductCode32Bit(int major_version, const std::wstring& product_code,
                        std::optional<uint16_t> server_machine, const std::wstring& c2r_platform) {
  if (major_version < 14) return true;
  if (IsOfficeProductCode(product_code)) return PlatformDigitSays32Bit(product_code);
  // Click-to-Run and other codes carry no platform digit: the server program tells.
  if (server_machine) return *server_machine == kMachineI386;
  if (SameTextAscii(c2r_platform, L"x86")) return true;
  if (SameTextAscii(c2r_platform, L"x64")) return false;
  return PlatformDigitSays32Bit(product_code);
}

bool IsExcel32Bit(Automation& automation, Registry& registry, FileSystem& files) {
  const std::optional<std::wstring> earlier = EarlierShowLogin(registry);
  WriteUserRegString(registry, kProductKey, kShowLogin, L"0");
  auto restore = [&] {
    if (earlier) WriteUserRegString(registry, kProductKey, kShowLogin, *earlier);
  };
  bool result = true;
  try {
    std::unique_ptr<AutomationObject> excel = automation.Create(kExcelProgId);
    try {
      const int major = MajorVersion(excel->GetText(L"Version"));
      if (major >= 14) {
        const std::wstring code = excel->GetText(L"ProductCode");
        result = IsProductCode32Bit(major, code, ServerMachine(automation, files),
                                    ClickToRunPlatform(registry));
      }
    } catch (...) {
      // An Excel started for the check never stays behind, hidden, after a failed read.
      try {
        excel->Call(L"Quit");
      } catch (const Error&) {
      }
      throw;
    }
    excel->Call(L"Quit");
  } catch (...) {
    try {
      restore();
    } catch (const Error&) {
    }
    throw;
  }
  restore();
  return result;
}

}  // namespace quillon
