#pragma once
// The run's log file on Win32: opened for writing with others allowed to read it while it
// grows, each piece written through and flushed; standard error, the user's temporary
// folder and the local clock.

#include "platform/ports/log_output.h"
#include "platform/win32/win32_handles.h"

namespace quillon {

class Win32LogOutput : public LogOutput {
 public:
  bool Open(const std::wstring& path, std::wstring* error) override;
  bool Append(const std::string& bytes, std::wstring* error) override;
  void WriteStandardError(const std::wstring& line) override;
  std::wstring TempFolder() override;
  LocalTime Now() override;
  uint64_t Milliseconds() override;

 private:
  UniqueHandle file_;
};

}  // namespace quillon
