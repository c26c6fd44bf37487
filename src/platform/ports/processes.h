#pragma once
// Processes: a program started through the shell and waited for in short steps (so the
// caller can serve its window between them), the list of running processes, and ending one.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ports/shell.h"

namespace quillon {

// One entry of the list of running processes.
struct ProcessEntry {
  uint32_t id = 0;
  std::wstring exe_path;  // as the system reports it: a file name or a full path
};

// A program started through the shell. Destroying it closes the process handle; the
// program keeps running.
class StartedProcess {
 public:
  virtual ~StartedProcess() = default;
  // Waits without a time limit until the program is ready for input; returns at once for a
  // program without windows and for one the system cannot wait for.
  virtual void WaitUntilIdle() = 0;
  // Waits at most `milliseconds` for the program to end. False only when the time ran out;
  // a process that cannot be waited for counts as ended.
  virtual bool WaitForExit(int milliseconds) = 0;
  // The program's exit code once it has ended; false while it runs or when the system
  // cannot tell.
  virtual bool ExitCode(uint32_t* code) {
    (void)code;
    return false;
  }
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts a program (a path or a name the shell resolves) with the shell's default verb,
  // environment strings in the name expanded and no error box from the shell. nullptr when
  // it could not be started.
  virtual std::unique_ptr<StartedProcess> Start(const std::wstring& program,
                                                const std::wstring& parameters, ShowMode show) = 0;
  // The running processes, in the system's order.
  virtual std::vector<ProcessEntry> Snapshot() = 0;
  // Ends a process with exit code 0 and gives it a few seconds to be gone, so its program
  // file is free afterwards. False when it could not be opened or ended.
  virtual bool Terminate(uint32_t id) = 0;
};

}  // namespace quillon
