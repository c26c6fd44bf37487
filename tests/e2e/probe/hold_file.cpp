// hold_file: opens a file without sharing (as a running program holds its DLL), writes
// READY_FILE when it holds it, and keeps it for SECONDS.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: hold_file FILE READY_FILE SECONDS\n");
    return 2;
  }
  HANDLE h = CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  HANDLE ready = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(ready);
  Sleep(1000 * static_cast<DWORD>(std::wcstol(argv[3], nullptr, 10)));
  CloseHandle(h);
  return 0;
}
