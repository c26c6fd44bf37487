#pragma once
// Every Win32 adapter of one run, owned together, and the installer's services wired to them.

#include "app/installer_env.h"
#include "base/job_queue.h"
#include "platform/win32/win32_admin_catalogue.h"
#include "platform/win32/win32_application.h"
#include "platform/win32/win32_automation.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_instance_lock.h"
#include "platform/win32/win32_log_output.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/windows_api.h"
#include "server/unCOMPlusAdmin.h"

namespace quillon {

class Win32Services {
 public:
  // The adapters of this process; `env` is filled with them, the folder of the running
  // program (with its trailing "\") and the command-line arguments.
  explicit Win32Services(HINSTANCE instance);
  Win32Services(const Win32Services&) = delete;
  Win32Services& operator=(const Win32Services&) = delete;

  Win32Application app;
  Win32Registry registry;
  Win32FileSystem files;
  Win32CodePage code_page;
  Win32Resources resources;
  Win32Shell shell;
  Win32Processes processes;
  Win32CatalogueService catalogue;
  ComPlusAdmin complus{catalogue};
  Win32Automation automation;
  ThreadJobQueue background;
  Win32InstanceLock instance_lock;
  Win32LogOutput log_output;
  InstallerEnv env;
};

}  // namespace quillon
