// install_probe: runs the wizard's install step, InstallFiles, into the folder named on its
// command line with the real Win32 adapters and the payload store it carries (the same store
// as QuillonSetup.exe). Prints "installed" or the error's message (UTF-8) and exits 0 or 1.
#include "platform/win32/windows_api.h"

#include <cstdio>

#include "app/unClientInstall.h"
#include "app/unMsgDialog.h"
#include "base/error.h"
#include "platform/win32/win32_services.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: install_probe DEST\n");
    return 2;
  }
  quillon::Win32Services services(GetModuleHandleW(nullptr));
  quillon::BindLanguageServices(&services.registry, &services.app);

  quillon::TfrmClientInstall form(services.env);
  try {
    form.InstallFiles(argv[1]);
  } catch (const quillon::Error& e) {
    std::printf("%s\n", e.what());
    return 1;
  }
  std::printf("installed %d of %d\n", form.pb->parts_complete(), form.pb->total_parts());
  return 0;
}
