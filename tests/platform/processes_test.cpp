// Processes on Wine: stopping the agent by name among real processes (the stand-in
// VXKALDERAgent.exe built beside this program), and running a batch file through the shell
// while the caller keeps serving its window.
#include <gtest/gtest.h>

#include "base/text.h"
#include "deploy/unFileAndDir.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/windows_api.h"
#include "scratch_folder.h"

namespace quillon {
namespace {

const std::wstring kAgentName = L"VXKALDERAGENT.EXE";

std::wstring AgentPath() {
  return TestProgramFolder() + L"\\VXKALDERAgent.exe";
}

// A running stand-in agent, ended when the test is over whatever happened.
struct Agent {
  UniqueHandle process;
  DWORD id = 0;
  ~Agent() {
    if (process) TerminateProcess(process.get(), 1);
  }
};

void StartAgent(Agent& agent, int sleep_ms) {
  std::wstring command = L"\"" + AgentPath() + L"\" " + std::to_wstring(sleep_ms);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                             nullptr, nullptr, &si, &pi))
      << "cannot start " << ToUtf8(AgentPath()) << ", error " << GetLastError();
  CloseHandle(pi.hThread);
  agent.process.reset(pi.hProcess);
  agent.id = pi.dwProcessId;
}

// Ids of the processes with the agent's name, in snapshot order.
std::vector<uint32_t> AgentsInSnapshot(Processes& procs) {
  std::vector<uint32_t> ids;
  for (const auto& e : procs.Snapshot()) {
    if (UpperAscii(ExtractFileName(e.exe_path)) == kAgentName) ids.push_back(e.id);
  }
  return ids;
}

bool Running(const Agent& agent) {
  return WaitForSingleObject(agent.process.get(), 0) == WAIT_TIMEOUT;
}

TEST(StopProcessByNamePlatform, StopsOnlyTheFirstOfTwoAgents) {
  Win32Processes procs;
  ASSERT_TRUE(AgentsInSnapshot(procs).empty()) << "an agent is already running";
  Agent a, b;
  StartAgent(a, 60000);
  StartAgent(b, 60000);
  std::vector<uint32_t> ids = AgentsInSnapshot(procs);
  ASSERT_EQ(ids.size(), 2u);
  Agent& first = ids[0] == a.id ? a : b;
  Agent& second = ids[0] == a.id ? b : a;
  ASSERT_EQ(ids[1], second.id);

  EXPECT_FALSE(StopProcessByName(procs, L"vxkalderagent.exe"));
  EXPECT_FALSE(StopProcessByName(procs, L"VXKALDER.EXE"));
  EXPECT_TRUE(Running(first));
  EXPECT_TRUE(Running(second));

  EXPECT_TRUE(StopProcessByName(procs, kAgentName));
  // Stopping waits until the process is gone, so its program file is free at once.
  EXPECT_EQ(WaitForSingleObject(first.process.get(), 0), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(first.process.get(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(Running(second));
  EXPECT_EQ(AgentsInSnapshot(procs), std::vector<uint32_t>{second.id});
}

TEST(StopProcessByNamePlatform, NoMatchingProcess) {
  Win32Processes procs;
  EXPECT_FALSE(StopProcessByName(procs, L"NOSUCHPROGRAM.EXE"));
  // The running test program itself is in the list under its file name.
  bool self = false;
  for (const auto& e : procs.Snapshot()) self |= e.id == GetCurrentProcessId();
  EXPECT_TRUE(self);
}

// Writes an ASCII batch file.
void WriteBatch(const std::wstring& path, const std::string& text) {
  Win32FileSystem().WriteFile(path, Bytes(text.begin(), text.end()));
}

// Makes `folder` the current folder for one test.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::wstring& folder) {
    wchar_t old[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH + 1, old);
    old_ = old;
    SetCurrentDirectoryW(folder.c_str());
  }
  ~CurrentFolder() { SetCurrentDirectoryW(old_.c_str()); }

 private:
  std::wstring old_;
};

TEST(RunAndWaitPlatform, WaitsForABatchFileFoundInTheCurrentFolder) {
  ScratchFolder scratch;
  Win32FileSystem fs;
  // The batch runs for a while (the stand-in agent sleeps 400 ms) before it writes its file,
  // so the file is there only if the caller really waited.
  WriteBatch(scratch.At(L"安装证书.bat"),
             "@echo off\r\n\"" + ToUtf8(AgentPath()) + "\" 400\r\necho %~1> done.txt\r\n");
  CurrentFolder here(scratch.path());
  Win32Processes procs;
  int served = 0;
  ASSERT_TRUE(RunAndWait(
      procs, [&] { ++served; }, L"安装证书.bat", L"certificate", ShowMode::Hide));
  ASSERT_TRUE(fs.FileExists(scratch.At(L"done.txt")));
  const Bytes done = fs.ReadFile(scratch.At(L"done.txt"));
  EXPECT_EQ(std::string(done.begin(), done.end()), "certificate\r\n");
  // 400 ms in 10 ms steps: the window was served many times meanwhile.
  EXPECT_GE(served, 10);
}

TEST(RunAndWaitPlatform, ProgramThatCannotStartGivesFalseWithoutWaiting) {
  ScratchFolder scratch;
  CurrentFolder here(scratch.path());
  Win32Processes procs;
  int served = 0;
  EXPECT_FALSE(RunAndWait(
      procs, [&] { ++served; }, L"安装证书.bat", L"", ShowMode::Hide));
  EXPECT_FALSE(RunAndWait(
      procs, [&] { ++served; }, scratch.At(L"missing\\x.exe"), L"", ShowMode::Hide));
  EXPECT_EQ(served, 0);
}

}  // namespace
}  // namespace quillon
