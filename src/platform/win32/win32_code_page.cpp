#include "platform/win32/win32_code_page.h"

#include <climits>
#include <string>

#include "base/error.h"
#include "platform/win32/windows_api.h"

namespace quillon {

namespace {

int CheckedLength(size_t size) {
  if (size > static_cast<size_t>(INT_MAX)) throw FormatError(L"Text too long to convert");
  return static_cast<int>(size);
}

}  // namespace

std::string Win32CodePage::ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  const int size =
      WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring Win32CodePage::FromAnsi(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int length = CheckedLength(bytes.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, out.data(), size);
  return out;
}

std::wstring Win32CodePage::Name() {
  return std::to_wstring(GetACP());
}

}  // namespace quillon
