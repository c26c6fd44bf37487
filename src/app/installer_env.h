#pragma once
// The platform services one run of the installer uses, and the facts of its start: the
// folder of the running program and the command-line arguments. The entry point fills it
// with the Win32 adapters; tests fill it with fakes.

#include <string>
#include <vector>

#include "app/setup_switches.h"
#include "base/job_queue.h"
#include "platform/ports/application.h"
#include "platform/ports/automation.h"
#include "platform/ports/code_page.h"
#include "platform/ports/complus.h"
#include "platform/ports/file_system.h"
#include "platform/ports/instance_lock.h"
#include "platform/ports/log_output.h"
#include "platform/ports/processes.h"
#include "platform/ports/registry.h"
#include "platform/ports/resources.h"
#include "platform/ports/shell.h"

namespace quillon {

class SetupLog;

struct InstallerEnv {
  Application* app = nullptr;
  Registry* registry = nullptr;
  FileSystem* files = nullptr;
  CodePage* code_page = nullptr;
  Resources* resources = nullptr;
  Shell* shell = nullptr;
  Processes* processes = nullptr;
  ComPlusCatalogue* complus = nullptr;
  Automation* automation = nullptr;
  // Work the install hands off its thread (files flushed to disk); none: all on its thread.
  JobQueue* background = nullptr;
  // Folder of the running installer program, with its trailing "\".
  std::wstring installer_dir;
  // Command-line arguments after the program name.
  std::vector<std::wstring> args;
  // Full path of the running program (names a log given without a file name).
  std::wstring program_file;
  // The one-installer-at-a-time lock of the user session; none: not checked.
  InstanceLock* instance_lock = nullptr;
  // Where a log asked for with /LOG goes; none: no log can be written.
  LogOutput* log_output = nullptr;

  // Filled by the start of the run: the switches taken out of `args` (which then holds the
  // launch role and base folder only), and the log when one is written.
  SetupSwitches switches;
  SetupLog* log = nullptr;
};

}  // namespace quillon
