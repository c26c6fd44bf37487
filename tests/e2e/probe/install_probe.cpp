// install_probe: runs the wizard's install step, InstallFiles, into the folder named on its
// command line with the real Win32 adapters and the payload store it carries (the same store
// as QuillonSetup.exe). Prints "installed" or the error's message (UTF-8) and exits 0 or 1.
#include "platform/win32/windows_api.h"

#include <cstdio>

#include "app/command_line.h"
#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "base/error.h"
#include "base/text.h"
#include "platform/win32/win32_application.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_complus.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_shell.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: install_probe DEST\n");
    return 2;
  }
  quillon::Win32Application app(GetModuleHandleW(nullptr));
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
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  env.installer_dir = quillon::ExtractFilePath(self);
  quillon::BindLanguageServices(&registry, &app);

  quillon::TfrmClientInstall form(env);
  try {
    form.InstallFiles(argv[1]);
  } catch (const quillon::Error& e) {
    std::printf("%s\n", e.what());
    return 1;
  }
  std::printf("installed %d of %d\n", form.pb->parts_complete(), form.pb->total_parts());
  return 0;
}
