#pragma once
// The program's course from entry to end, over the platform services of one run.

#include "app/installer_env.h"

namespace quillon {

// Sets the entry title, creates the wizard as the main form (its creation may end the
// program), shows it and serves it until it closes. Returns the process exit code.
int RunInstaller(InstallerEnv& env);

}  // namespace quillon
