#pragma once
// Platform services that do their work through the real ones and write each change they
// make to the run's log: files written, copied and deleted, folders made, registry values
// written and deleted, shortcuts saved, programs started (and their exit codes where they
// are waited for), folders copied or deleted by the shell, and the COM+ steps.

#include <memory>

#include "app/installer_env.h"
#include "app/setup_log.h"

namespace quillon {

class LoggedServices {
 public:
  // Wraps the file system, registry, shell, processes and COM+ catalogue of `env`; the
  // other services stay as they are. `env` and `log` outlive this object.
  LoggedServices(const InstallerEnv& env, SetupLog& log);
  ~LoggedServices();
  LoggedServices(const LoggedServices&) = delete;
  LoggedServices& operator=(const LoggedServices&) = delete;

  // `env` with the logging services in place of the wrapped ones.
  InstallerEnv env;

 private:
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<Shell> shell_;
  std::unique_ptr<Processes> processes_;
  std::unique_ptr<ComPlusCatalogue> complus_;
};

}  // namespace quillon
