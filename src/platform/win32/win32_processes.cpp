#include "platform/win32/win32_processes.h"

#include "platform/win32/win32_com_apartment.h"
#include "platform/win32/win32_late_imports.h"
#include "platform/win32/windows_api.h"
// After <windows.h>:
#include <shellapi.h>
#include <tlhelp32.h>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_shell.h"

namespace quillon {

namespace {

// How long a terminated process gets to be gone, so its program file can be replaced.
constexpr DWORD kTerminateWaitMs = 5000;

class Win32StartedProcess : public StartedProcess {
 public:
  explicit Win32StartedProcess(HANDLE process) : process_(process) {}

  void WaitUntilIdle() override {
    if (process_) WaitForInputIdle(process_.get(), INFINITE);
  }

  bool WaitForExit(int milliseconds) override {
    // Without a handle (the shell handed the file to a running program) there is nothing to
    // wait for; a failed wait ends the waiting too.
    if (!process_) return true;
    return WaitForSingleObject(process_.get(), static_cast<DWORD>(milliseconds)) != WAIT_TIMEOUT;
  }

  bool ExitCode(uint32_t* code) override {
    DWORD value = 0;
    if (!process_ || !GetExitCodeProcess(process_.get(), &value) || value == STILL_ACTIVE) {
      return false;
    }
    *code = value;
    return true;
  }

 private:
  UniqueHandle process_;
};

}  // namespace

std::unique_ptr<StartedProcess> Win32Processes::Start(const std::wstring& program,
                                                      const std::wstring& parameters,
                                                      ShowMode show) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask =
      SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_DOENVSUBST | SEE_MASK_FLAG_NO_UI;
  info.lpFile = program.c_str();
  info.lpParameters = parameters.c_str();
  info.nShow = ShowCommand(show);
  EnterComApartment();
  if (!late::ShellExecuteExW(&info)) return nullptr;
  return std::make_unique<Win32StartedProcess>(info.hProcess);
}

std::vector<ProcessEntry> Win32Processes::Snapshot() {
  std::vector<ProcessEntry> entries;
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return entries;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    entries.push_back({entry.th32ProcessID, entry.szExeFile});
  }
  return entries;
}

bool Win32Processes::Terminate(uint32_t id) {
  // TerminateProcess only starts the ending; waiting needs SYNCHRONIZE, which is asked for
  // but not required.
  bool can_wait = true;
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
  if (!process) {
    can_wait = false;
    process.reset(OpenProcess(PROCESS_TERMINATE, FALSE, id));
  }
  if (!process) return false;
  if (!TerminateProcess(process.get(), 0)) return false;
  if (can_wait) WaitForSingleObject(process.get(), kTerminateWaitMs);
  return true;
}

}  // namespace quillon
