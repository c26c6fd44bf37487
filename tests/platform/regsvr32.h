#pragma once
// Registering a COM server DLL in the test's prefix as a user would: the system folder's
// RegSvr32.exe, waited for.

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/windows_api.h"

namespace quillon {

// Runs RegSvr32.exe with `switches` ("/s", "/u /s") on `path`; its exit code, or ~0 when it
// could not be started.
inline DWORD RunRegSvr32(const std::wstring& switches, const std::wstring& path) {
  wchar_t system[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring program = std::wstring(system, length) + L"\\RegSvr32.exe";
  std::wstring command = L"\"" + program + L"\" " + switches + L" \"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start regsvr32, error " << GetLastError();
    return ~DWORD{0};
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = ~DWORD{0};
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

}  // namespace quillon
