#pragma once
// How a run of the installer ended, as its process exit code, for the programs and
// deployment tools that start it and wait for it.

namespace quillon {

enum ExitCode : int {
  kExitInstalled = 0,           // Finish, after an install that went through to its end
  kExitRefused = 1,             // the missing product information message, a failed Excel check
  kExitCancelled = 2,           // Cancel or a close before such an install
  kExitInstallFailed = 3,       // a close after an install error; an unattended run's error
  kExitHelpShown = 4,           // /? or /HELP: the switches were listed, nothing else done
  kExitWrongUsage = 5,          // an unknown switch or a wrong value: listed, nothing done
  kExitAlreadyRunning = 6,      // another installer runs in this session: nothing done
  kExitDestinationRefused = 7,  // an unattended run's destination was refused or not made
};

}  // namespace quillon
