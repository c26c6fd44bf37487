// QuillonSetup.exe: entry point. Hardens DLL loading, wires the Win32 adapters into the
// installer's services and runs the installer.
#include "platform/win32/windows_api.h"

#include "app/command_line.h"
#include "app/installer_main.h"
#include "base/text.h"
#include "platform/win32/win32_application.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_complus.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_shell.h"

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

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return quillon::ExtractFilePath(path);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearch();
  quillon::Win32Application app(instance);
  quillon::Win32Registry registry;
  quillon::Win32FileSystem files;
  quillon::Win32CodePage code_page;
  quillon::Win32Resources resources;
  quillon::Win32Shell shell;
  quillon::Win32Processes processes;
  quillon::Win32ComPlusCatalogue complus;
  quillon::InstallerEnv env;
  env.app = &app;
  env.registry = &registry;
  env.files = &files;
  env.code_page = &code_page;
  env.resources = &resources;
  env.shell = &shell;
  env.processes = &processes;
  env.complus = &complus;
  env.installer_dir = ProgramFolder();
  env.args = quillon::ArgumentsOfCommandLine(GetCommandLineW());
  return quillon::RunInstaller(env);
}
