#include "platform/fake/fake_processes.h"

#include <algorithm>

#include "base/text.h"

namespace quillon {

namespace {

class FakeStartedProcess : public StartedProcess {
 public:
  FakeStartedProcess(std::vector<std::wstring>& log, int waits_left)
      : log_(log), waits_left_(waits_left) {}
  ~FakeStartedProcess() override { log_.push_back(L"close"); }

  void WaitUntilIdle() override { log_.push_back(L"idle"); }
  bool WaitForExit(int milliseconds) override {
    log_.push_back(L"wait " + IntToText(milliseconds));
    if (waits_left_ == 0) return true;
    --waits_left_;
    return false;
  }

 private:
  std::vector<std::wstring>& log_;
  int waits_left_;
};

}  // namespace

std::unique_ptr<StartedProcess> FakeProcesses::Start(const std::wstring& program,
                                                     const std::wstring& parameters,
                                                     ShowMode show) {
  started.push_back({program, parameters, show});
  log.push_back(L"start " + program + L" " + parameters);
  if (!can_start) return nullptr;
  return std::make_unique<FakeStartedProcess>(log, exit_after_waits);
}

std::vector<ProcessEntry> FakeProcesses::Snapshot() {
  return running;
}

bool FakeProcesses::Terminate(uint32_t id) {
  terminated.push_back(id);
  log.push_back(L"terminate " + IntToText(id));
  if (protected_ids.count(id)) return false;
  auto it = std::find_if(running.begin(), running.end(),
                         [id](const ProcessEntry& e) { return e.id == id; });
  if (it == running.end()) return false;
  running.erase(it);
  return true;
}

}  // namespace quillon
