// QuillonSetup.exe: entry point. Hardens DLL loading, wires the Win32 adapters into the
// installer's services and runs the installer.
#include "platform/win32/windows_api.h"

#include "app/installer_main.h"
#include "platform/win32/win32_start_marks.h"
#include "win32_services.h"

namespace {

// Only the system folder may supply DLLs: a DLL planted beside the installer (a downloads
// folder) is never loaded.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto set_dirs = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (set_dirs) set_dirs(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  quillon::StartMark("main");
  RestrictDllSearch();
  // COM once for the user-interface thread, apartment-threaded: the shell's folder picker and
  // links and the automation servers the installer talks to need it.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  quillon::StartMark("com");
  int code = 0;
  {
    quillon::Win32Services services(instance);
    quillon::StartMark("services");
    code = quillon::RunInstaller(services.env);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return code;
}
