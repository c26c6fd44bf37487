#include "platform/win32/win32_log_output.h"

#include "base/text.h"
#include "platform/win32/win32_error.h"

namespace quillon {

bool Win32LogOutput::Open(const std::wstring& path, std::wstring* error) {
  file_.reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) {
    *error = SystemErrorText(GetLastError());
    return false;
  }
  return true;
}

bool Win32LogOutput::Append(const std::string& bytes, std::wstring* error) {
  if (!file_) {
    *error = L"not open";
    return false;
  }
  DWORD written = 0;
  if (!::WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr) ||
      written != bytes.size() || !FlushFileBuffers(file_.get())) {
    *error = SystemErrorText(GetLastError());
    return false;
  }
  return true;
}

void Win32LogOutput::WriteStandardError(const std::wstring& line) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
  const std::string text = ToUtf8(line) + "\r\n";
  DWORD written = 0;
  ::WriteFile(err, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::wstring Win32LogOutput::TempFolder() {
  wchar_t path[MAX_PATH + 1] = L"";
  const DWORD n = GetTempPathW(MAX_PATH + 1, path);
  std::wstring folder(path, n <= MAX_PATH ? n : 0);
  while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return folder;
}

LocalTime Win32LogOutput::Now() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

uint64_t Win32LogOutput::Milliseconds() {
  return GetTickCount64();
}

}  // namespace quillon
