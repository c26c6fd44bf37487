#include "win32_services.h"

#include "app/command_line.h"
#include "base/text.h"

namespace quillon {

namespace {

std::wstring ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path;
}

}  // namespace

Win32Services::Win32Services(HINSTANCE instance) : app(instance) {
  env.app = &app;
  env.registry = &registry;
  env.files = &files;
  env.code_page = &code_page;
  env.resources = &resources;
  env.shell = &shell;
  env.processes = &processes;
  env.complus = &complus;
  env.automation = &automation;
  env.background = &background;
  env.program_file = ProgramPath();
  env.installer_dir = ExtractFilePath(env.program_file);
  env.instance_lock = &instance_lock;
  env.log_output = &log_output;
  env.args = ArgumentsOfCommandLine(GetCommandLineW());
}

}  // namespace quillon
