#pragma once
// Processes stand-in for tests: a scripted list of running processes, terminations that
// can be refused, and started programs that end after a scripted number of waits. Every
// call is written to `log`, so a test can check the order of starts, waits and its own
// message serving (a test's pump may append to the same log).

#include <set>
#include <string>
#include <vector>

#include "platform/ports/processes.h"

namespace quillon {

class FakeProcesses : public Processes {
 public:
  std::unique_ptr<StartedProcess> Start(const std::wstring& program, const std::wstring& parameters,
                                        ShowMode show) override;
  std::vector<ProcessEntry> Snapshot() override;
  bool Terminate(uint32_t id) override;

  // Script.
  std::vector<ProcessEntry> running;  // in snapshot order; an ended process leaves it
  std::set<uint32_t> protected_ids;   // termination refused, as for another user's process
  bool can_start = true;              // Start gives nullptr when false
  int exit_after_waits = 0;           // waits that time out before a started program ends

  // Record. Log lines: "start <program> <parameters>", "idle", "wait <ms>", "close",
  // "terminate <id>".
  struct StartCall {
    std::wstring program, parameters;
    ShowMode show = ShowMode::Normal;
  };
  std::vector<StartCall> started;
  std::vector<uint32_t> terminated;  // every id asked for, refused ones included
  std::vector<std::wstring> log;
};

}  // namespace quillon
