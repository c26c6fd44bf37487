#include "platform/win32/win32_error.h"

#include <cwchar>

#include "base/text.h"
#include "platform/win32/windows_api.h"

namespace quillon {

std::wstring SystemErrorText(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (length != 0 && buffer) text.assign(buffer, length);
  if (buffer) LocalFree(buffer);
  text = TrimRight(text);
  if (text.empty()) {
    // Result codes (HRESULTs) are known by their hexadecimal form.
    if (code & 0x80000000ul) {
      wchar_t hex[16];
      swprintf(hex, 16, L"0x%08lX", code);
      text = L"System error " + std::wstring(hex);
    } else {
      text = L"System error " + IntToText(static_cast<long long>(code));
    }
  }
  return text;
}

}  // namespace quillon
