#pragma once
// Processes on Windows: ShellExecuteExW with a process handle, the Toolhelp process
// snapshot, and TerminateProcess.

#include "platform/ports/processes.h"

namespace quillon {

class Win32Processes : public Processes {
 public:
  std::unique_ptr<StartedProcess> Start(const std::wstring& program, const std::wstring& parameters,
                                        ShowMode show) override;
  std::vector<ProcessEntry> Snapshot() override;
  bool Terminate(uint32_t id) override;
};

}  // namespace quillon
