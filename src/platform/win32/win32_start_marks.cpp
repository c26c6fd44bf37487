#include "platform/win32/win32_start_marks.h"

#include <cstdio>

#include "platform/win32/windows_api.h"

namespace quillon {

namespace {

// The marks file, opened at the first mark; INVALID_HANDLE_VALUE when none is taken.
HANDLE MarksFile() {
  static const HANDLE file = [] {
    wchar_t path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"QUILLON_START_MARKS", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return INVALID_HANDLE_VALUE;
    return CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }();
  return file;
}

void WriteLine(const char* name, const char* sign, long long value) {
  char line[128];
  const int n = std::snprintf(line, sizeof line, "%s %s%lld\n", name, sign, value);
  if (n <= 0 || n >= static_cast<int>(sizeof line)) return;
  DWORD written = 0;
  WriteFile(MarksFile(), line, static_cast<DWORD>(n), &written, nullptr);
}

long long Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

}  // namespace

void StartMark(const char* name) {
  if (MarksFile() == INVALID_HANDLE_VALUE) return;
  WriteLine(name, "", Now());
}

long long StartSpanBegin() {
  return MarksFile() == INVALID_HANDLE_VALUE ? 0 : Now();
}

void StartSpan(const char* name, long long since) {
  if (since == 0 || MarksFile() == INVALID_HANDLE_VALUE) return;
  WriteLine(name, "+", Now() - since);
}

}  // namespace quillon
