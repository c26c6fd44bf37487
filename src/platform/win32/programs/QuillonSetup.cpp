// QuillonSetup.exe: entry point. Hardens DLL loading, wires the Win32 adapters into the
// installer's services and runs the installer.
#include "platform/win32/windows_api.h"

#include "app/installer_main.h"
#include "platform/win32/win32_com_apartment.h"
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
  // COM is entered by the adapters that need it, on first use (the shell's links and folder
  // picker, the automation servers): the wizard's first window does without it.
  int code = 0;
  {
    quillon::Win32Services services(instance);
    quillon::StartMark("services");
    code = quillon::RunInstaller(services.env);
  }
  quillon::LeaveComApartment();
  return code;
}
